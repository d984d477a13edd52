#include "text/WesternWeights.h"

#include "text/Bytes.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace orv::text {
namespace {

// What a byte is in Windows-1252, as far as the weighing cares.
enum class W : std::uint8_t {
  kAsciiLetter,
  kDigit,
  kSpace,       // also the text's ends and the punctuation between words
  kOddAscii,    // # $ % * + < = > @ [ \ ] ^ _ ` { | } ~ and controls: rare in titles
  kLetter,      // accented letters, Œ œ
  kRareLetter,  // Š š Ž ž
  kQuote,       // ‘ “ ” « »
  kRareQuote,   // ‚ „ ‹ ›
  kApostrophe,  // ’
  kDash,        // – — •
  kEllipsis,    // …
  kSymbol,      // € ƒ † ‡ ˆ ‰ ˜ ™ Ÿ, ¡ to ¿, × ÷
  kUndefined,   // 0x81 0x8D 0x8F 0x90 0x9D
};

constexpr std::array<W, 256> windows1252Classes() {
  std::array<W, 256> t{};
  for (int b = 0; b < 256; ++b) {
    W w = W::kSymbol;
    if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z')) {
      w = W::kAsciiLetter;
    } else if (b >= '0' && b <= '9') {
      w = W::kDigit;
    } else if (b < 0x80) {
      w = std::string_view(" !\"&'(),-./:;?").find(static_cast<char>(b)) != std::string_view::npos
              ? W::kSpace
              : W::kOddAscii;
    } else if (b >= 0xC0 && b != 0xD7 && b != 0xF7) {
      w = W::kLetter;
    }
    t[b] = w;
  }
  t[0xA0] = W::kSpace;  // no-break space
  for (const int b : {0x8C, 0x9C}) t[b] = W::kLetter;
  for (const int b : {0x8A, 0x8E, 0x9A, 0x9E}) t[b] = W::kRareLetter;
  for (const int b : {0x91, 0x93, 0x94, 0xAB, 0xBB}) t[b] = W::kQuote;
  for (const int b : {0x82, 0x84, 0x8B, 0x9B}) t[b] = W::kRareQuote;
  t[0x92] = W::kApostrophe;
  for (const int b : {0x95, 0x96, 0x97}) t[b] = W::kDash;
  t[0x85] = W::kEllipsis;
  for (const int b : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) t[b] = W::kUndefined;
  return t;
}

constexpr std::array<W, 256> kWindows1252 = windows1252Classes();

bool isLetter(W w) { return w == W::kAsciiLetter || w == W::kLetter || w == W::kRareLetter; }
bool isWord(W w) { return isLetter(w) || w == W::kDigit; }
bool isSpaceOrDigit(W w) { return w == W::kSpace || w == W::kDigit; }
bool isSymbolish(W w) { return w == W::kSymbol || w == W::kOddAscii || w == W::kUndefined; }

bool isLowerCase(Byte b) {
  return (b >= 'a' && b <= 'z') || b >= 0xDF || b == 0x9A || b == 0x9C || b == 0x9E;
}
bool isUpperCase(Byte b) { return (b >= 'A' && b <= 'Z') || (b >= 0xC0 && b < 0xDF); }

// Whether the ASCII letter beside an accented letter continues its word: a word does not
// turn from lower case to upper case ("åK" is the lead and trail byte of a kanji, "Kå"
// may be "Kåre").
bool continuesWord(Byte first, Byte second) { return !(isLowerCase(first) && isUpperCase(second)); }

}  // namespace

int weighWindows1252Byte(QByteArrayView s, qsizetype i) {
  const Byte b = byteAt(s, i);
  const W self = kWindows1252[b];
  const bool first = i == 0, last = i + 1 == s.size();
  const W before = first ? W::kSpace : kWindows1252[byteAt(s, i - 1)];
  const W after = last ? W::kSpace : kWindows1252[byteAt(s, i + 1)];
  const bool space = before == W::kSpace || after == W::kSpace;
  const bool spaces = before == W::kSpace && after == W::kSpace;
  const bool gluedInside = isLetter(before) && isLetter(after);
  // One side a space, the other a word: where quotes and closing marks stand.
  const bool wordEdge =
      (before == W::kSpace && isWord(after)) || (isWord(before) && after == W::kSpace);
  switch (self) {
    case W::kLetter:
    case W::kRareLetter: {
      // Titles and names start with a capital: a text that starts with a lower-case
      // accent is more likely a kanji's lead byte.
      const int letters = int(before == W::kAsciiLetter && continuesWord(byteAt(s, i - 1), b)) +
                          int(after == W::kAsciiLetter && continuesWord(b, byteAt(s, i + 1)) &&
                              !(first && isLowerCase(b)));
      const bool symbol = isSymbolish(before) || isSymbolish(after);
      const int rare = self == W::kRareLetter ? 1 : 0;
      if (letters == 2) return 3 - rare;
      if (letters == 1 && !symbol) return 2 - rare;
      if (spaces) return 1;
      return letters == 0 && symbol ? -1 : 0;
    }
    case W::kQuote:
    case W::kRareQuote:
      if (gluedInside) return -2;
      if (wordEdge || spaces) return self == W::kQuote ? 2 : 1;
      return -1;
    case W::kApostrophe:
      if (before == W::kAsciiLetter && after == W::kAsciiLetter) return 3;
      if (gluedInside || wordEdge) return 2;
      return -1;
    case W::kDash:
      if (gluedInside) return -2;
      if (isSpaceOrDigit(before) && isSpaceOrDigit(after)) return 2;
      return isSpaceOrDigit(before) || isSpaceOrDigit(after) ? 0 : -1;
    case W::kEllipsis:
      if (gluedInside) return -2;
      if ((isWord(before) && after == W::kSpace) || spaces) return 2;
      return wordEdge ? 1 : -1;
    case W::kSymbol: {
      if (gluedInside) return -2;
      const auto fits = [](W w) {
        return w == W::kSpace || w == W::kDigit || w == W::kAsciiLetter;
      };
      return (space || before == W::kDigit || after == W::kDigit) && fits(before) && fits(after)
                 ? 1
                 : -1;
    }
    case W::kUndefined:
      return -4;
    default:
      return 0;
  }
}

int weighWindows1252(QByteArrayView s) {
  int weight = 0;
  for (qsizetype i = 0; i < s.size(); ++i) {
    if (byteAt(s, i) >= 0x80) weight += weighWindows1252Byte(s, i);
  }
  return weight;
}

}  // namespace orv::text
