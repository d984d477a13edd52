#pragma once

#include "text/frequencies/Frequencies.h"

#include <array>
#include <cstddef>
#include <string_view>

namespace orv::text {

// Every weight of 8-bit text is in half-bits; bits(4) is a weight of 4 bits.
constexpr int bits(int n) { return 2 * n; }

// How many bytes a code page's characters take.
enum class Width {
  kSingleByte,  // one: the bytes 0x80-0xFF are the page's own characters
  kDoubleByte,  // ASCII one, the rest a lead and a trail byte (some four in GB18030)
};

// What a code page's reading must do to be taken (see EightBitText.h).
enum class Standing {
  kJapanese,    // weighed against the Western one by their shapes (see EightBitText.h)
  kWestern,     // taken when no other reading is: it reads any bytes
  kChallenger,  // taken when more plausible than both of those by its margin
};

// A table of character costs (Frequencies.h) for the code points first to last.
struct CharacterCosts {
  char32_t first = 0;
  char32_t last = 0;
  const char* costs = nullptr;  // nullptr: no table
};

// How a double-byte page's readings are weighed, character by character (see
// DoubleByteReadings.h): a character is worth its bytes' cost as random bytes less its
// own cost as text of the page's languages, in half-bits.
struct CharacterModel {
  std::array<CharacterCosts, 2> tables{};  // the languages' own characters
  int byteCost = 15;                       // a random byte: 7.5 bits
  int otherHanCost = 63;                   // a Han character that no table covers
  int otherCost = 40;                      // any other but punctuation: kana in Chinese …
  int smallLetterBeforeCost = 12;          // right after a small ASCII letter ("iPhone用")
  // The single bytes A1-DF are half-width katakana, weighed by katakana pairs, and
  // U+FF61-U+FF65 half-width punctuation.
  bool halfWidthKatakana = false;
  // Pairs outside the lead bytes firstLead to lastLead with trails from firstTrail on are
  // rarely written: each costs outsideCoreCost.
  unsigned char firstLead = 0, lastLead = 0, firstTrail = 0;
  int outsideCoreCost = 0;
};

// How a single-byte page's readings are weighed, letter by letter (see LetterPairs.h):
// its tables of Frequencies.h.
struct LetterModel {
  const unsigned char* letters = nullptr;  // kXLetters
  const int* alphabet = nullptr;           // &kXAlphabet
  const char* pairs = nullptr;             // kXPairs
  bool latinScript = true;                 // false: an ASCII letter beside one is foreign
};

// Windows-1252 is Latin-1 but for 0x80-0x9F; its five undefined bytes stay C1 controls,
// which iconv would refuse.
inline constexpr std::array<char16_t, 128> kWindows1252Characters = [] {
  constexpr char16_t k80To9F[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
  std::array<char16_t, 128> t{};
  for (int b = 0x80; b <= 0xFF; ++b) t[b - 0x80] = b < 0xA0 ? k80To9F[b - 0x80] : char16_t(b);
  return t;
}();

// One code page whose text turns up in tags that record no encoding.
struct CodePage {
  std::string_view name;            // as the WHATWG Encoding Standard (and browsers) name it
  std::string_view aliases;         // other names users know it by, in small letters
  const char* iconvName = nullptr;  // glibc's converter
  const std::array<char16_t, 128>* ownCharacters = nullptr;  // or bytes 0x80-0xFF here
  Width width = Width::kSingleByte;
  bool fourByteSequences = false;  // GB18030's: a lead byte, a digit, a lead, a digit
  std::string_view languages;
  Standing standing = Standing::kChallenger;
  CharacterModel characters{};  // double-byte pages
  LetterModel letters{};        // single-byte pages
  // How much more plausible than both the Japanese and the Western reading its own must
  // be to be taken; 0 for those two.
  int margin = 0;
};

// The code pages, in the order that settles ties between equally plausible readings: the
// earlier row wins. Adding a code page is adding a row here and its frequency table (see
// frequencies/make_frequencies.py); the decision reads every row.
inline constexpr std::array kCodePages = {
    CodePage{
        .name = "shift_jis",
        .aliases = "cp932 sjis shift-jis ms932 windows-31j x-sjis",
        .iconvName = "CP932",  // as Windows writes it: NEC and IBM extensions, unlike SHIFT_JIS
        .width = Width::kDoubleByte,
        .languages = "Japanese",
        .standing = Standing::kJapanese,
        .characters = {.tables = {{{0x3040, 0x30FF, frequencies::kKana},
                                   {0x4E00, 0x9FFF, frequencies::kKanji}}},
                       .byteCost = 14,  // 7 bits: its lead bytes are fewer
                       .otherCost = 28,
                       .smallLetterBeforeCost = 0,
                       .halfWidthKatakana = true},
    },
    CodePage{
        .name = "windows-1252",
        .aliases = "cp1252 latin1 iso-8859-1 l1",
        .ownCharacters = &kWindows1252Characters,
        .width = Width::kSingleByte,
        .languages = "French, German, Spanish, Portuguese, Italian, Dutch, Nordic",
        .standing = Standing::kWestern,
        .letters = {.letters = frequencies::kWesternLetters,
                    .alphabet = &frequencies::kWesternAlphabet,
                    .pairs = frequencies::kWesternPairs},
    },
    CodePage{
        .name = "euc-kr",
        .aliases = "cp949 uhc ks_c_5601-1987 windows-949",
        .iconvName = "CP949",  // Unified Hangul Code: EUC-KR and its extension
        .width = Width::kDoubleByte,
        .languages = "Korean",
        .characters = {.tables = {{{0xAC00, 0xD7A3, frequencies::kHangul}}},
                       .otherHanCost = 40},  // hanja are rare in Korean tags
        .margin = bits(4),
    },
    CodePage{
        .name = "gbk",
        .aliases = "cp936 gb2312 gb18030 windows-936",
        .iconvName = "GB18030",  // GBK and GB 2312 too
        .width = Width::kDoubleByte,
        .fourByteSequences = true,
        .languages = "Simplified Chinese",
        .characters = {.tables = {{{0x4E00, 0x9FFF, frequencies::kSimplifiedHanzi}}},
                       // GB 2312, of which GBK is an extension
                       .firstLead = 0xA1,
                       .lastLead = 0xF7,
                       .firstTrail = 0xA1,
                       .outsideCoreCost = 8},
        .margin = bits(4),
    },
    CodePage{
        .name = "big5",
        .aliases = "cp950 big5-tw windows-950",
        .iconvName = "CP950",  // Big5 with Microsoft's additions
        .width = Width::kDoubleByte,
        .languages = "Traditional Chinese",
        .characters = {.tables = {{{0x4E00, 0x9FFF, frequencies::kTraditionalHanzi}}}},
        .margin = bits(4),
    },
    CodePage{
        .name = "windows-1251",
        .aliases = "cp1251",
        .iconvName = "CP1251",
        .width = Width::kSingleByte,
        .languages = "Russian, Ukrainian, Bulgarian, Serbian",
        .letters = {.letters = frequencies::kCyrillicLetters,
                    .alphabet = &frequencies::kCyrillicAlphabet,
                    .pairs = frequencies::kCyrillicPairs,
                    .latinScript = false},
        .margin = bits(5),
    },
    CodePage{
        .name = "windows-1250",
        .aliases = "cp1250",
        .iconvName = "CP1250",
        .width = Width::kSingleByte,
        .languages = "Czech, Polish, Hungarian, Slovak, Croatian, Slovenian, Romanian",
        .letters = {.letters = frequencies::kCentralEuropeanLetters,
                    .alphabet = &frequencies::kCentralEuropeanAlphabet,
                    .pairs = frequencies::kCentralEuropeanPairs},
        .margin = bits(5),
    },
};

// The row named `name`; kCodePages.size() where none is.
//
//   kCodePages[pageNamed("big5")].languages == "Traditional Chinese"
constexpr std::size_t pageNamed(std::string_view name) {
  std::size_t p = 0;
  while (p < kCodePages.size() && kCodePages[p].name != name) ++p;
  return p;
}

// The row that stands so; kCodePages.size() where none does.
constexpr std::size_t pageStanding(Standing standing) {
  std::size_t p = 0;
  while (p < kCodePages.size() && kCodePages[p].standing != standing) ++p;
  return p;
}

inline constexpr std::size_t kJapanesePage = pageStanding(Standing::kJapanese);
inline constexpr std::size_t kWesternPage = pageStanding(Standing::kWestern);

// Whether a row holds what its width and standing need, and nothing they don't.
constexpr bool isWellFormed(const CodePage& page) {
  const bool single = page.width == Width::kSingleByte;
  const bool challenger = page.standing == Standing::kChallenger;
  return !page.name.empty() && !page.languages.empty() &&
         (page.characters.tables[0].last != 0) == !single && (!page.fourByteSequences || !single) &&
         (page.margin > 0) == challenger &&
         pageNamed(page.name) == static_cast<std::size_t>(&page - kCodePages.data());
}

// Whether a row has one source of its characters and the frequency model its width
// reads. Not checked as the program compiles: under the sanitisers, the address of a
// table is no constant (tests/text checks it).
constexpr bool hasItsModel(const CodePage& page) {
  const bool single = page.width == Width::kSingleByte;
  return (page.iconvName == nullptr) != (page.ownCharacters == nullptr) &&
         (page.letters.pairs != nullptr) == single &&
         (page.characters.tables[0].costs != nullptr) == !single;
}

static_assert([] {
  for (const CodePage& page : kCodePages)
    if (!isWellFormed(page)) return false;
  return true;
}());
static_assert(kJapanesePage < kCodePages.size() && kWesternPage < kCodePages.size());
static_assert(kCodePages[kJapanesePage].width == Width::kDoubleByte &&
              kCodePages[kWesternPage].width == Width::kSingleByte);
static_assert(
    [] {
      int japanese = 0, western = 0;
      for (const CodePage& page : kCodePages) {
        japanese += page.standing == Standing::kJapanese;
        western += page.standing == Standing::kWestern;
      }
      return japanese == 1 && western == 1;
    }(),
    "one page stands as Japanese, one as Western");

}  // namespace orv::text
