#include "text/Cp932.h"

#include <gtest/gtest.h>

#include <ostream>

namespace orv::text::cp932 {
namespace {

struct Mapping {
  char32_t ch;
  QByteArray bytes;  // empty: CP932 can't hold the character
};

void PrintTo(const Mapping& m, std::ostream* os) {
  *os << "U+" << QString::number(static_cast<uint>(m.ch), 16).toUpper().toStdString();
}

class Encodes : public testing::TestWithParam<Mapping> {};

TEST_P(Encodes, AsWindowsDoes) {
  const Mapping& m = GetParam();
  QByteArray out("x");
  EXPECT_EQ(appendEncoded(m.ch, out), !m.bytes.isEmpty());
  EXPECT_EQ(out, "x" + m.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Common, Encodes,
    testing::Values(Mapping{U'A', "A"}, Mapping{0, QByteArray(1, '\0')}, Mapping{U'\\', "\\"},
                    Mapping{U'~', "~"}, Mapping{U'あ', "\x82\xA0"}, Mapping{U'ｱ', "\xB1"},
                    Mapping{U'ソ', "\x83\x5C"}, Mapping{U'\uFF5E', "\x81\x60"},  // ～
                    Mapping{U'\u2015', "\x81\x5C"}, Mapping{U'\uFF0D', "\x81\x7C"},
                    Mapping{U'\uFFE5', "\x81\x8F"}, Mapping{U'\uE000', "\xF0\x40"}));

// Characters with more than one CP932 code: the one Windows writes.
INSTANTIATE_TEST_SUITE_P(
    Duplicates, Encodes,
    testing::Values(Mapping{U'\u2252', "\x81\xE0"},    // ≒: JIS row 2, not NEC row 13
                    Mapping{U'\u2235', "\x81\xE6"},    // ∵
                    Mapping{U'\uFFE2', "\x81\xCA"},    // ￢
                    Mapping{U'\u2160', "\x87\x54"},    // Ⅰ: NEC row 13, not IBM
                    Mapping{U'\u3231', "\x87\x8A"},    // ㈱
                    Mapping{U'\u2170', "\xFA\x40"},    // ⅰ: IBM, not NEC-selected IBM
                    Mapping{U'\u7E8A', "\xFA\x5C"}));  // 纊

// Only a best fit, which would change the text, or nothing at all.
INSTANTIATE_TEST_SUITE_P(NotRepresentable, Encodes,
                         testing::Values(Mapping{U'\u00A5', ""}, Mapping{U'\u203E', ""},
                                         Mapping{U'\u301C', ""}, Mapping{U'\u2212', ""},
                                         Mapping{U'\u2014', ""}, Mapping{U'\u2016', ""},
                                         Mapping{U'\u00A2', ""}, Mapping{U'\u00AC', ""},
                                         Mapping{U'\u00E9', ""}, Mapping{U'\uFFFD', ""},
                                         Mapping{char32_t{0xD800}, ""}, Mapping{U'\U0001F600', ""},
                                         Mapping{U'\uD55C', ""}));

TEST(Cp932, DecodesTheWholeCodePage) {
  EXPECT_EQ(decode("\x83\x65\x83\x58\x83\x67"), u"テスト");
  EXPECT_EQ(decode("a\\~\xB1"), u"a\\~ｱ");
  EXPECT_EQ(decode("\x81\x60\x81\x5C\x87\x54\xEE\xEF\xFA\x40"), u"\uFF5E\u2015\u2160\u2170\u2170");
  EXPECT_EQ(decode(""), u"");
}

TEST(Cp932, DecodesEachBadByteAsAReplacementCharacter) {
  EXPECT_EQ(decode("a\x80"
                   "b"),
            u"a\uFFFDb");
  EXPECT_EQ(decode("\x82\x20"
                   "c"),
            u"\uFFFD c");                    // a lead byte without a trail byte
  EXPECT_EQ(decode("ok\x82"), u"ok\uFFFD");  // cut off at the end
  EXPECT_EQ(decode("\xFD\xFE\xFF"), u"\uFFFD\uFFFD\uFFFD");
}

TEST(Cp932, DecodesStrictlyOnlyValidText) {
  EXPECT_EQ(decodeStrict("\x82\xA0"), std::optional<QString>(QStringLiteral("あ")));
  EXPECT_EQ(decodeStrict(""), std::optional<QString>(QString()));
  EXPECT_EQ(decodeStrict("ok\x82"), std::nullopt);
  EXPECT_EQ(decodeStrict("\xA0"), std::nullopt);
}

// Every code that decodes gives a character that encodes to a code decoding to the same
// character: the writer can't turn one character into another.
TEST(Cp932, EveryDecodedCharacterRoundTrips) {
  int checked = 0;
  for (int code = 0; code <= 0xFFFF; ++code) {
    QByteArray bytes;
    if (code > 0xFF) bytes.append(static_cast<char>(code >> 8));
    if (code > 0xFF || code < 0x80 || (code >= 0xA1 && code <= 0xDF)) {
      bytes.append(static_cast<char>(code & 0xFF));
    } else {
      continue;
    }
    const std::optional<QString> text = decodeStrict(bytes);
    if (!text || text->size() != 1) continue;
    QByteArray encoded;
    ASSERT_TRUE(appendEncoded(text->at(0).unicode(), encoded)) << std::hex << code;
    EXPECT_EQ(decodeStrict(encoded), text) << std::hex << code;
    ++checked;
  }
  EXPECT_GT(checked, 9000);
}

}  // namespace
}  // namespace orv::text::cp932
