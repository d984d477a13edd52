#include "text/EightBitText.h"

#include "text/CharacterTables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <vector>

namespace orv::text {
namespace {

using namespace Qt::StringLiterals;

std::vector<std::size_t> pagesOf(const EightBitReadings& readings) {
  std::vector<std::size_t> pages;
  for (const Reading& reading : readings.readings) pages.push_back(reading.page);
  return pages;
}

TEST(Readings, OneForEachPageThatDecodesTheBytesInTableOrder) {
  const EightBitReadings korean = readEightBitText({"\xBE\xC6\xC0\xCC\xC0\xAF"});  // 아이유
  std::vector<std::size_t> everyPage(kCodePages.size());
  std::iota(everyPage.begin(), everyPage.end(), 0);
  EXPECT_EQ(pagesOf(korean), everyPage);
  const Reading& chosen = chosenReading(korean);
  EXPECT_EQ(kCodePages[chosen.page].name, "euc-kr");
  EXPECT_EQ(textOf(chosen), u"아이유"_s);
  for (const Reading& reading : korean.readings)
    EXPECT_LE(reading.plausibility, chosen.plausibility);

  // Not CP932's shape, and unassigned in Windows-1251: no such readings; the Western one
  // is always there.
  const auto pages = pagesOf(readEightBitText({"Caf\xE9 \x98"}));
  EXPECT_EQ(std::count(pages.begin(), pages.end(), kJapanesePage), 0);
  EXPECT_EQ(std::count(pages.begin(), pages.end(), pageNamed("windows-1251")), 0);
  EXPECT_EQ(textOf(chosenReading(readEightBitText({"Caf\xE9 \x98"}))), u"Café ˜"_s);
}

TEST(Readings, EachPageHasTheFrequencyModelItsWidthReads) {
  for (const CodePage& page : kCodePages) EXPECT_TRUE(hasItsModel(page)) << page.name;
}

TEST(Readings, DoubleByteReadingsOfACutFieldLeaveOutItsLoneLeadByte) {
  const QByteArray cut("\x83\x65\x83\x58\x83");  // テス and the lead byte of ト
  for (const Reading& reading : readEightBitText({cut, true}).readings) {
    const bool doubleByte = kCodePages[reading.page].width == Width::kDoubleByte;
    EXPECT_EQ(reading.bytes.size(), doubleByte ? 4 : 5) << kCodePages[reading.page].name;
    if (reading.page == kJapanesePage) {
      EXPECT_EQ(textOf(reading), u"テス"_s);
    }
  }
  // Unless the field may not be cut: then the lone lead byte is no CP932.
  EXPECT_EQ(pagesOf(readEightBitText({cut, false})).front(), kWesternPage);
}

// Every character that a page's bytes decode to is written back in bytes that decode to it
// (CP932's twice-written characters in either writing); a character the page lacks is not.
TEST(CharacterTables, EachPageWritesBackEveryCharacterItReads) {
  for (const CodePage& page : kCodePages) {
    SCOPED_TRACE(page.name);
    int characters = 0;
    for (int lead = 0x80; lead <= 0xFF; ++lead) {
      for (int trail = 0; trail <= (page.width == Width::kDoubleByte ? 0xFF : 0); ++trail) {
        QByteArray bytes(1, char(lead));
        if (trail != 0) bytes.append(char(trail));
        const auto text = decodeStrict(page, bytes);
        if (!text || text->size() != 1) continue;
        ++characters;
        const auto written = encodeStrict(page, *text);
        ASSERT_TRUE(written) << bytes.toHex().constData();
        EXPECT_EQ(decodeStrict(page, *written), text) << bytes.toHex().constData();
      }
    }
    EXPECT_GT(characters, 90);
    EXPECT_EQ(encodeStrict(page, u"Ѧ֮ǫ"), std::nullopt);
  }
  EXPECT_EQ(encodeStrict(kCodePages[pageNamed("gbk")], u"A薛之谦"), "A\xD1\xA6\xD6\xAE\xC7\xAB");
}

}  // namespace
}  // namespace orv::text
