#pragma once

// How often characters and letter pairs occur in the languages whose 8-bit tag texts this
// program reads, written by make_frequencies.py (which names its sources) from word lists
// and character data that Debian ships.
//
// Each table is a string of costs in half-bits (-2 log2 p, capped at 63), one character
// of the base-64 alphabet each: 'A' is 0, 'B' 1, ..., '/' 63.
//
//   cost(kHangul[0xC0AC - 0xAC00]) == 14   // 사: p is about 2^-7
#include <array>

namespace orv::text::frequencies {

// The cost of one entry of a table.
inline int cost(char c) {
  static constexpr auto kCosts = [] {
    std::array<unsigned char, 128> t{};
    const char* alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    for (int i = 0; i < 64; ++i) t[static_cast<unsigned char>(alphabet[i])] = i;
    return t;
  }();
  return kCosts[static_cast<unsigned char>(c) & 0x7F];
}

// Characters: p(c) among the characters of the language's texts. Indexed from the range's
// first code point.
extern const char kSimplifiedHanzi[];   // U+4E00 to U+9FFF, simplified Chinese
extern const char kTraditionalHanzi[];  // U+4E00 to U+9FFF, traditional Chinese
extern const char kHangul[];            // U+AC00 to U+D7A3, Korean
extern const char kKana[];              // U+3040 to U+30FF, Japanese
extern const char kKanji[];             // U+4E00 to U+9FFF, Japanese

// Katakana pairs, which half-width katakana stand for: P(second | first) over an alphabet
// of the word's edge (0), ァ to ヺ (1 to 90), ー (91) and the voiced marks U+3099 and
// U+309A (92, 93), at [first * kKatakanaAlphabet + second].
inline constexpr int kKatakanaAlphabet = 94;
extern const char kKatakanaPairs[];

// Letter pairs of three 8-bit code pages' languages: P(second | first) over an alphabet of
// the word's edge (0), a to z (1 to 26) and the code page's own lower-case letters (27
// on), at [first * alphabet + second]. kXLetters gives each byte 0x80-0xFF as
// letter * 2 + 1 for a capital, letter * 2 for a small letter, 0 for no letter.
extern const unsigned char kCyrillicLetters[128];  // Windows-1251
extern const int kCyrillicAlphabet;
extern const char kCyrillicPairs[];
extern const unsigned char kCentralEuropeanLetters[128];  // Windows-1250
extern const int kCentralEuropeanAlphabet;
extern const char kCentralEuropeanPairs[];
extern const unsigned char kWesternLetters[128];  // Windows-1252
extern const int kWesternAlphabet;
extern const char kWesternPairs[];

}  // namespace orv::text::frequencies
