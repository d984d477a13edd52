#include "output/ScriptString.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace orv {
namespace {

struct EscapeCase {
  const char* name;
  std::u16string text;
  QByteArray bytes;  // CP932, as the page holds them
};

void PrintTo(const EscapeCase& c, std::ostream* os) { *os << c.name; }

class Escapes : public testing::TestWithParam<EscapeCase> {};

TEST_P(Escapes, IntoCp932ScriptString) {
  const EscapeCase& c = GetParam();
  QByteArray page("x");  // appends, never replaces
  AppendScriptString(QStringView(c.text), page);
  EXPECT_EQ(page, "x" + c.bytes) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Unchanged, Escapes,
    testing::Values(EscapeCase{"plain", u"Hello, World! 'quoted' > & ;", "Hello, World! 'quoted' > & ;"},
                    EscapeCase{"empty", u"", ""}, EscapeCase{"japanese", u"テスト", "\x83\x65\x83\x58\x83\x67"},
                    // Its second byte is 0x5C, a backslash when read as ASCII.
                    EscapeCase{"trail byte 0x5C", u"ソ表", "\x83\x5C\x95\x5C"},
                    EscapeCase{"half-width katakana", u"ｱｲ", "\xB1\xB2"},
                    EscapeCase{"wave dash as Windows writes it", u"\uFF5E", "\x81\x60"},
                    EscapeCase{"NEC/IBM duplicate", u"\u2170", "\xFA\x40"}),
    [](const auto& info) { return std::to_string(info.index); });

INSTANTIATE_TEST_SUITE_P(
    Syntax, Escapes,
    testing::Values(EscapeCase{"backslash", u"AC\\DC", "AC\\\\DC"},
                    EscapeCase{"backslash at the end", u"C:\\", "C:\\\\"},
                    EscapeCase{"double quote", u"say \"hi\"", "say \\\"hi\\\""},
                    EscapeCase{"end of script", u"</script><script>window.pwned=1</script>",
                         "\\u003C/script>\\u003Cscript>window.pwned=1\\u003C/script>"},
                    EscapeCase{"comment opener", u"<!--", "\\u003C!--"}),
    [](const auto& info) { return std::to_string(info.index); });

INSTANTIATE_TEST_SUITE_P(
    Controls, Escapes,
    testing::Values(EscapeCase{"nul", std::u16string(u"a\0b", 3), "a\\u0000b"},
                    EscapeCase{"tab, LF, CR", u"\t\n\r", "\\u0009\\u000A\\u000D"},
                    EscapeCase{"unit separator", u"\x1F", "\\u001F"}, EscapeCase{"delete", u"\x7F", "\\u007F"},
                    EscapeCase{"line and paragraph separators", u"\u2028\u2029", "\\u2028\\u2029"},
                    EscapeCase{"C1 control stays a character", u"\u0085", "\\u0085"}),
    [](const auto& info) { return std::to_string(info.index); });

// Not in CP932, or only by a best fit that would change the text.
INSTANTIATE_TEST_SUITE_P(
    NotInCp932, Escapes,
    testing::Values(EscapeCase{"yen sign, which would become a backslash", u"\u00A5100", "\\u00A5100"},
                    EscapeCase{"wave dash U+301C", u"\u301C", "\\u301C"},
                    EscapeCase{"minus sign", u"\u2212", "\\u2212"},
                    EscapeCase{"accented latin", u"Beyoncé", "Beyonc\\u00E9"},
                    EscapeCase{"emoji, two code units", u"a😀b", "a\\uD83D\\uDE00b"},
                    EscapeCase{"lone surrogate", std::u16string(1, char16_t(0xD800)), "\\uD800"},
                    EscapeCase{"replacement character", u"\uFFFD", "\\uFFFD"},
                    EscapeCase{"hangul", u"한", "\\uD55C"}),
    [](const auto& info) { return std::to_string(info.index); });

}  // namespace
}  // namespace orv
