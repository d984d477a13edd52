// The bash completion and the manual page against the tables of options they describe:
// each names every option, and no other; the page's synopsis holds the batch's usage line.

#include "app/ProgramCommand.h"
#include "batch/BatchOptions.h"

#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <algorithm>

namespace orv::test {
namespace {

using batch::batchOptionTable;

QString readSource(const char* path) {
  QFile file(QString::fromUtf8(path));
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path;
  return QString::fromUtf8(file.readAll());
}

// The first group of every match of `pattern`, lines matched one by one.
QStringList captured(const QString& text, const char* pattern) {
  QStringList found;
  const QRegularExpression expression(QString::fromUtf8(pattern),
                                      QRegularExpression::MultilineOption);
  for (auto matches = expression.globalMatch(text); matches.hasNext();) {
    found << matches.next().captured(1);
  }
  return found;
}

// The long name (or the only one) of the option each word names: "-j", "--jobs" and
// "--jobs=" are all "--jobs"; a word that names none stays as it is. Sorted, each once.
std::string optionsNamed(const QStringList& words, std::span<const CommandLineOption> table) {
  QStringList named;
  for (const QString& word : words) {
    const auto option = std::find_if(table.begin(), table.end(), [&](const auto& o) {
      const QStringList names = o.typedNames();
      return names.contains(word) || (!o.valueName.empty() && word == names.last() + u'=');
    });
    named << (option == table.end() ? word : option->typedNames().last());
  }
  named.removeDuplicates();
  named.sort();
  return named.join(u' ').toStdString();
}

// Every option of `table`, or those that take a value, as optionsNamed() names them.
std::string allOptions(std::span<const CommandLineOption> table, bool onlyWithValue = false) {
  QStringList all;
  for (const CommandLineOption& option : table) {
    if (!onlyWithValue || !option.valueName.empty()) all << option.typedNames();
  }
  return optionsNamed(all, table);
}

TEST(OptionTables, TheCompletionOffersEveryOptionAndNoOther) {
  const QString script = readSource(ORV_COMPLETION);
  // The window's words, then after --batch the batch's.
  const QStringList offered = captured(script, "compgen -W '([^']*)'");
  ASSERT_EQ(offered.size(), 2);
  const auto words = [](const QString& list) { return list.simplified().split(u' '); };
  EXPECT_EQ(optionsNamed(words(offered[0]), programOptionTable()),
            allOptions(programOptionTable()));
  EXPECT_EQ(optionsNamed(words(offered[1]), batchOptionTable()), allOptions(batchOptionTable()));

  // The options after which a value is completed (a file, or nothing for a number).
  const QStringList names = captured(script, R"(^\s*(-.*)\)$)")
                                .join(u'|')
                                .remove(u' ')
                                .split(u'|')
                                .filter(QRegularExpression(QStringLiteral("^--?[a-z][-a-z]*$")));
  EXPECT_EQ(optionsNamed(names, batchOptionTable()), allOptions(batchOptionTable(), true));
}

TEST(OptionTables, TheManualPageDescribesEveryOptionOfTheBatchAndNoOther) {
  const QString page = readSource(ORV_MANUAL_PAGE);
  // An option's entry: a tagged paragraph whose tag names it by all its names, and its value.
  QStringList tags = captured(page, R"(^\.TP\n\.[A-Z]+ (.*\\-.*)$)");
  for (QString& tag : tags) {
    tag = tag.remove(QRegularExpression(QStringLiteral(R"(\\f.|[",])"))).replace("\\-", "-");
    tag = tag.simplified();
  }
  QStringList options;
  for (const CommandLineOption& option : batchOptionTable()) {
    const QString value = QString::fromUtf8(option.valueName.data(), option.valueName.size());
    options << (option.typedNames().join(u' ') + u' ' + value).trimmed();
  }
  tags.sort();
  options.sort();
  EXPECT_EQ(tags.join(QLatin1String(" | ")).toStdString(),
            options.join(QLatin1String(" | ")).toStdString());
}

TEST(OptionTables, TheManualPagesSynopsisHoldsTheBatchsUsageLine) {
  const QString synopsis =
      readSource(ORV_MANUAL_PAGE).section(".SH SYNOPSIS\n", 1).section("\n.SH ", 0, 0);
  QStringList usages;
  for (const QString& lines : synopsis.split(".br\n")) {
    QStringList words;
    for (const QString& line : lines.split(u'\n', Qt::SkipEmptyParts)) {
      // .B and .I part their words by spaces; .RB, .IR and the like, by a change of font.
      const QString request = line.section(u' ', 0, 0);
      words << line.section(u' ', 1).split(u' ').join(request.size() == 2 ? " " : "");
    }
    usages << words.join(u' ').replace("\\-", "-");
  }
  EXPECT_TRUE(usages.contains(batch::batchUsage()))
      << batch::batchUsage().toStdString() << " is none of\n"
      << usages.join(u'\n').toStdString();
}

}  // namespace
}  // namespace orv::test
