#include "tracks/TextRules.h"
#include "tracks/TrackTable.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

int errorNumberOf(auto&& step) {
  try {
    step();
  } catch (const RuntimeError& e) {
    return e.number();
  }
  return 0;
}

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
  EXPECT_EQ(errorNumberOf([&] { table[0]; }), 9);  // no storage before the first build
  table.resize(1);
  EXPECT_EQ(errorNumberOf([&] { table[0].title = QStringLiteral("ok"); }), 0);
  EXPECT_EQ(errorNumberOf([&] { table[1]; }), 9);
  EXPECT_EQ(errorNumberOf([&] { table[-1]; }), 9);
  const TrackTable& view = table;
  EXPECT_EQ(errorNumberOf([&] { view[1]; }), 9);
}

TEST(TextRulesTest, ReplaceQuotesChangesDoubleQuotesOnly) {
  EXPECT_EQ(ReplaceQuotes(QStringLiteral(" a \"b\" c ")), QStringLiteral(" a 'b' c "));
  EXPECT_EQ(ReplaceQuotes(QStringLiteral("\"")), QStringLiteral("'"));
  EXPECT_EQ(ReplaceQuotes(QStringLiteral("it's ＂全角＂")), QStringLiteral("it's ＂全角＂"));
}

TEST(TextRulesTest, ReplaceQuotesTakesAtMost32766Characters) {
  EXPECT_EQ(errorNumberOf([] { ReplaceQuotes(QString(32766, u'"')); }), 0);
  EXPECT_EQ(errorNumberOf([] { ReplaceQuotes(QString(32767, u'x')); }), 6);
}

TEST(TextRulesTest, TrimRemovesOnlyPlainSpacesAtBothEnds) {
  EXPECT_EQ(Trim(QStringLiteral("  a  b  ")), QStringLiteral("a  b"));
  EXPECT_EQ(Trim(QStringLiteral("   ")), QString());
  EXPECT_EQ(Trim(QStringLiteral("\ta\u3000")), QStringLiteral("\ta\u3000"));
}

}  // namespace
}  // namespace orv
