#include "core/CommandLine.h"

#include <algorithm>

namespace orv {
namespace {

constexpr qsizetype kHelpColumn = 21;

QString text(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// The names QCommandLineParser knows an option by: "r", "recursive".
QStringList names(const CommandLineOption& option) {
  QStringList names;
  if (option.shortName != 0) names << QString(QLatin1Char(option.shortName));
  if (!option.longName.empty()) names << text(option.longName);
  return names;
}

// An option's name as the user types it: "-r", "--recursive".
QString typed(const QString& name) {
  return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

}  // namespace

QString versionLine() { return QStringLiteral("orv " ORV_VERSION); }

QStringList CommandLineOption::typedNames() const {
  QStringList typedNames;
  for (const QString& name : names(*this)) typedNames << typed(name);
  return typedNames;
}

CommandLine::CommandLine(std::span<const CommandLineOption> options)
    : options_(options.begin(), options.end()) {
  for (const CommandLineOption& option : options_) {
    parser_.addOption(QCommandLineOption(names(option), {}, text(option.valueName)));
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
    if (option.valueName.empty()) continue;
    const QStringList its = names(option);
    const auto named = [&](const QString& name) { return its.contains(name); };
    const auto times = std::count_if(found.begin(), found.end(), named);
    if (times > parser_.values(its.first()).size()) {
      return valueMissing(typed(*std::find_if(found.rbegin(), found.rend(), named)), option);
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

bool CommandLine::isSet(const CommandLineOption& option) const {
  return parser_.isSet(names(option).first());
}

std::vector<CommandLine::Given> CommandLine::given(const CommandLineOption& option) const {
  const QStringList its = names(option);
  const QStringList values = parser_.values(its.first());
  std::vector<Given> given;
  for (const QString& found : parser_.optionNames()) {
    if (!its.contains(found)) continue;
    if (given.size() == std::size_t(values.size())) break;
    given.push_back({typed(found), values[qsizetype(given.size())]});
  }
  return given;
}

QString CommandLine::valueMissing(const QString& typedName, const CommandLineOption& option) {
  return QStringLiteral("%1 には%2を指定してください。").arg(typedName, text(option.valueMeaning));
}

QString CommandLine::usage() const {
  QStringList usage;
  for (const CommandLineOption& option : options_) {
    if (!option.inUsageLine) continue;
    const QString value = option.valueName.empty() ? QString() : u' ' + text(option.valueName);
    usage << u'[' + option.typedNames().first() + value + u']';
  }
  return usage.join(u' ');
}

QString CommandLine::optionHelp() const {
  const QString indent(kHelpColumn, u' ');
  QString help;
  for (const CommandLineOption& option : options_) {
    QString left = option.shortName == 0 ? QStringLiteral("      ") : QStringLiteral("  ");
    left += option.typedNames().join(QStringLiteral(", "));
    if (!option.valueName.empty()) left += u' ' + text(option.valueName);
    help += left.size() < kHelpColumn ? left.leftJustified(kHelpColumn) : left + u'\n' + indent;
    QString description = text(option.help);
    if (option.helpDefault != nullptr) description = description.arg(option.helpDefault());
    help += description.replace(u'\n', u'\n' + indent) + u'\n';
  }
  return help;
}

}  // namespace orv
