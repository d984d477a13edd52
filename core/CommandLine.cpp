#include "core/CommandLine.h"

#include <algorithm>

namespace orv {
namespace {

constexpr qsizetype kHelpColumn = 21;

// An option's name as the user types it: "-r", "--recursive".
QString typed(const QString& name) {
  return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

}  // namespace

QString versionLine() { return QStringLiteral("orv " ORV_VERSION); }

CommandLine::CommandLine(std::vector<CommandLineOption> options) : options_(std::move(options)) {
  for (const CommandLineOption& option : options_) {
    parser_.addOption(QCommandLineOption(option.names, {}, option.valueName));
  }
}

QString CommandLine::parse(const QStringList& arguments) {
  if (parser_.parse(QStringList{QStringLiteral("orv")} + arguments)) return {};
  const QStringList unknown = parser_.unknownOptionNames();
  if (!unknown.isEmpty())
    return QStringLiteral("知らないオプションです: ") + typed(unknown.first());

  // Qt names the option at fault only in its own English text; the names found, as
  // typed, tell it too. An option that takes a value lacks one when it was found more
  // often than it has values (only as the last argument, where no value can follow).
  const QStringList found = parser_.optionNames();
  for (const CommandLineOption& option : options_) {
    if (option.valueName.isEmpty()) continue;
    const auto named = [&](const QString& name) { return option.names.contains(name); };
    const auto times = std::count_if(found.begin(), found.end(), named);
    if (times > parser_.values(option.names.first()).size()) {
      const QString name = *std::find_if(found.rbegin(), found.rend(), named);
      return QStringLiteral("%1 には%2を指定してください。").arg(typed(name), option.valueMeaning);
    }
  }
  // Otherwise a flag was given a value: "--json=1".
  for (const QString& name : found) {
    const QString withValue = typed(name) + u'=';
    const auto given = [&](const QString& a) { return a.startsWith(withValue); };
    if (name.size() > 1 && std::any_of(arguments.begin(), arguments.end(), given)) {
      return QStringLiteral("%1 には値を付けられません。").arg(typed(name));
    }
  }
  return parser_.errorText();
}

std::vector<CommandLine::Given> CommandLine::given(const QString& name) const {
  const QStringList values = parser_.values(name);
  const auto option =
      std::find_if(options_.begin(), options_.end(),
                   [&](const CommandLineOption& o) { return o.names.contains(name); });
  std::vector<Given> given;
  for (const QString& found : parser_.optionNames()) {
    if (option == options_.end() || !option->names.contains(found)) continue;
    if (given.size() == std::size_t(values.size())) break;
    given.push_back({typed(found), values[qsizetype(given.size())]});
  }
  return given;
}

QString CommandLine::optionHelp() const {
  QString help;
  for (const CommandLineOption& option : options_) {
    QString shortName, longName;
    for (const QString& name : option.names) (name.size() == 1 ? shortName : longName) = name;
    QString left = QStringLiteral("  ");
    left += shortName.isEmpty() ? QStringLiteral("    ")
                                : typed(shortName) + (longName.isEmpty() ? "" : ", ");
    if (!longName.isEmpty()) left += typed(longName);
    if (!option.valueName.isEmpty()) left += u' ' + option.valueName;
    const QString indent(kHelpColumn, u' ');
    help += left.size() < kHelpColumn ? left.leftJustified(kHelpColumn) : left + u'\n' + indent;
    help += option.help.join(u'\n' + indent) + u'\n';
  }
  return help;
}

}  // namespace orv
