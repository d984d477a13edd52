#include "tests/support/Errors.h"
#include "tracks/TextRules.h"
#include "tracks/TrackTable.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using test::errorOf;

TEST(TrackTableTest, ResizeDiscardsEveryRecordOfThePreviousAlbum) {
  TrackTable table;
  EXPECT_EQ(table.count(), 0);
  table.resize(10);
  for (Int16 i = 0; i < 10; ++i) table[i].title = QStringLiteral("old");
  table.resize(3);
  EXPECT_EQ(table.count(), 3);
  for (Int16 i = 0; i < 3; ++i) EXPECT_TRUE(table[i].title.isEmpty());
}

TEST(TrackTableTest, EveryAccessOutsideTheTableRaisesSubscriptOutOfRange) {
  TrackTable table;
  EXPECT_EQ(errorOf([&] { table[0]; }).number(), 9);  // no storage before the first build
  table.resize(1);
  EXPECT_EQ(errorOf([&] { table[0].title = QStringLiteral("ok"); }).number(), 0);
  EXPECT_EQ(errorOf([&] { table[1]; }).number(), 9);
  EXPECT_EQ(errorOf([&] { table[-1]; }).number(), 9);
  const TrackTable& view = table;
  EXPECT_EQ(errorOf([&] { view[1]; }).number(), 9);
}

TEST(TextRulesTest, ReplaceQuotesChangesDoubleQuotesOnly) {
  EXPECT_EQ(ReplaceQuotes(QStringLiteral(" a \"b\" c ")), QStringLiteral(" a 'b' c "));
  EXPECT_EQ(ReplaceQuotes(QStringLiteral("\"")), QStringLiteral("'"));
  EXPECT_EQ(ReplaceQuotes(QStringLiteral("it's ＂全角＂")), QStringLiteral("it's ＂全角＂"));
}

TEST(TextRulesTest, ReplaceQuotesTakesAtMost32766Characters) {
  EXPECT_EQ(errorOf([] { ReplaceQuotes(QString(32766, u'"')); }).number(), 0);
  EXPECT_EQ(errorOf([] { ReplaceQuotes(QString(32767, u'x')); }).number(), 6);
}

TEST(TextRulesTest, TrimRemovesOnlyPlainSpacesAtBothEnds) {
  const struct {
    QString text, trimmed;
  } cases[] = {
      {"  a  b  ", "a  b"}, {"   ", ""}, {"", ""}, {"\ta\u3000", "\ta\u3000"}, {"a ", "a"}};
  for (const auto& c : cases) {
    EXPECT_EQ(Trim(c.text), c.trimmed) << c.text.toStdString();
    EXPECT_EQ(TrimSpaces(c.text), c.trimmed) << c.text.toStdString();
  }
}

}  // namespace
}  // namespace orv
