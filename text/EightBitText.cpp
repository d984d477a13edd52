#include "text/EightBitText.h"

#include "text/CodePages.h"
#include "text/Cp932.h"
#include "text/DoubleByteReadings.h"
#include "text/LetterPairs.h"

#include <QVarLengthArray>

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace orv::text {
namespace {

using Byte = unsigned char;

// ---- The bytes as written: where the text ends, and whether its last character may be cut.

struct Field {
  QByteArrayView bytes;
  bool mayBeCut = false;  // an ID3v1 field filled to its last byte
};

Field fieldOf(QByteArrayView bytes, EightBitField kind) {
  const qsizetype nul = bytes.indexOf('\0');
  if (nul >= 0) return {bytes.first(nul), false};
  return {bytes, kind == EightBitField::kId3v1};
}

Byte at(QByteArrayView bytes, qsizetype i) { return static_cast<Byte>(bytes[i]); }

// ---- UTF-8

// The length of the valid UTF-8 sequence that starts at `i` (lead byte 0x80 or above);
// 0 when it is invalid, -1 when the bytes end inside it.
int utf8SequenceAt(QByteArrayView s, qsizetype i) {
  const Byte lead = at(s, i);
  int length = 0;
  Byte low = 0x80, high = 0xBF;  // the range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;  // nothing past U+10FFFF
  } else {
    return 0;
  }
  for (int k = 1; k < length; ++k) {
    if (i + k >= s.size()) return -1;
    const Byte c = at(s, i + k);
    if (c < (k == 1 ? low : 0x80) || c > (k == 1 ? high : 0xBF)) return 0;
  }
  return length;
}

enum class Utf8 { kAscii, kUtf8, kOther };

// Whether `field` is pure ASCII, UTF-8 with a multi-byte sequence, or neither. A cut
// field may end inside a sequence; `length` is then the bytes before it.
Utf8 classifyUtf8(const Field& field, qsizetype& length) {
  const QByteArrayView s = field.bytes;
  bool multiByte = false;
  for (qsizetype i = 0; i < s.size();) {
    if (at(s, i) < 0x80) {
      ++i;
      continue;
    }
    const int n = utf8SequenceAt(s, i);
    if (n < 0 && field.mayBeCut && multiByte) {
      length = i;
      return Utf8::kUtf8;
    }
    if (n <= 0) return Utf8::kOther;
    multiByte = true;
    i += n;
  }
  length = s.size();
  return multiByte ? Utf8::kUtf8 : Utf8::kAscii;
}

// ---- The Windows-1252 reading

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

// The weight of the byte s[i] (0x80 or above) in the Windows-1252 reading.
int weighWindows1252Byte(QByteArrayView s, qsizetype i) {
  const Byte b = at(s, i);
  const W self = kWindows1252[b];
  const bool first = i == 0, last = i + 1 == s.size();
  const W before = first ? W::kSpace : kWindows1252[at(s, i - 1)];
  const W after = last ? W::kSpace : kWindows1252[at(s, i + 1)];
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
      const int letters = int(before == W::kAsciiLetter && continuesWord(at(s, i - 1), b)) +
                          int(after == W::kAsciiLetter && continuesWord(b, at(s, i + 1)) &&
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
    if (at(s, i) >= 0x80) weight += weighWindows1252Byte(s, i);
  }
  return weight;
}

// Windows-1252 is Latin-1 but for 0x80-0x9F; its five undefined bytes stay C1 controls.
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString decodeWindows1252(QByteArrayView s) {
  QString out(s.size(), Qt::Uninitialized);
  char16_t* p = reinterpret_cast<char16_t*>(out.data());
  for (qsizetype i = 0; i < s.size(); ++i) {
    const Byte b = at(s, i);
    p[i] = b >= 0x80 && b < 0xA0 ? kWindows1252High[b - 0x80] : char16_t(b);
  }
  return out;
}

// ---- The CP932 reading

// What a CP932 character is, as far as the weighing cares.
enum class J : std::uint8_t {
  kKana,
  kFullWidth,  // full-width forms, CJK punctuation and symbols
  kKanji1,
  kKanji2,      // level-2 kanji, the IBM extensions and their NEC-selected copies
  kNecSpecial,  // NEC's row 13: ① Ⅱ № ㈱ ㌔ …
  kHalfWidth,
  kUserDefined,
  kOther,  // Greek, Cyrillic, box drawing
};

bool isLeadByte(Byte b) {
  return (b >= 0x81 && b <= 0x84) || (b >= 0x87 && b <= 0x9F) || (b >= 0xE0 && b <= 0xEA) ||
         b == 0xED || b == 0xEE || (b >= 0xF0 && b <= 0xFC);
}

bool isTrailByte(Byte b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

J classifyDoubleByte(Byte lead, Byte trail) {
  const unsigned code = unsigned(lead) << 8 | trail;
  if (lead == 0x81) {
    if (code == 0x815B || (code >= 0x8152 && code <= 0x8155)) return J::kKana;  // ー ヽヾゝゞ
    if (code >= 0x8158 && code <= 0x815A) return J::kKanji1;                    // 々 〆 〇
    return J::kFullWidth;
  }
  if (lead == 0x82) return code >= 0x829F ? J::kKana : J::kFullWidth;
  if (lead == 0x83) return code <= 0x8396 ? J::kKana : J::kOther;
  if (lead == 0x84) return J::kOther;
  if (lead == 0x87) return J::kNecSpecial;
  if (lead == 0xED || lead == 0xEE || lead >= 0xFA) return J::kKanji2;
  if (lead >= 0xF0) return J::kUserDefined;
  if (code >= 0x889F && code <= 0x9872) return J::kKanji1;
  if (code >= 0x989F) return J::kKanji2;
  return J::kOther;
}

// One run of characters outside ASCII in the CP932 reading.
class JapaneseRun {
 public:
  void add(J kind) {
    if (length_++ == 0) first_ = kind;
    static constexpr int kInRun[] = {3, 2, 3, 2, 2, 1, -4, 1};
    weight_ += kInRun[static_cast<int>(kind)];
    strong_ = strong_ || kind == J::kKana || kind == J::kFullWidth || kind == J::kKanji1 ||
              kind == J::kNecSpecial;
  }
  bool empty() const { return length_ == 0; }

  int weight(bool gluedBefore, bool gluedAfter) const {
    const bool glued = gluedBefore || gluedAfter;
    if (length_ == 1) {
      switch (first_) {
        case J::kKanji1:
          return glued ? 1 : 2;
        case J::kKanji2:
          return glued ? -2 : 1;
        case J::kNecSpecial:
          return glued ? -2 : 2;
        case J::kOther:
          return glued ? 0 : 1;
        case J::kHalfWidth:
          return glued ? -2 : 0;
        default:
          return weight_;
      }
    }
    return weight_ - (!strong_ && gluedBefore && gluedAfter ? 3 : 0);
  }

 private:
  int length_ = 0;
  int weight_ = 0;
  J first_ = J::kOther;
  bool strong_ = false;
};

bool isAsciiLetter(Byte b) { return (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z'); }

struct JapaneseReading {
  bool valid = false;
  bool cut = false;  // the last byte is a lead byte whose trail was cut off
  int weight = 0;
};

JapaneseReading weighCp932(const Field& field) {
  const QByteArrayView s = field.bytes;
  JapaneseReading reading;
  JapaneseRun run;
  bool gluedBefore = false;
  const auto endRun = [&](bool gluedAfter) {
    if (!run.empty()) reading.weight += run.weight(gluedBefore, gluedAfter);
    run = JapaneseRun();
  };
  for (qsizetype i = 0; i < s.size();) {
    const Byte b = at(s, i);
    if (b < 0x80) {
      endRun(isAsciiLetter(b));
      gluedBefore = isAsciiLetter(b);
      ++i;
    } else if (b >= 0xA1 && b <= 0xDF) {
      run.add(J::kHalfWidth);
      ++i;
    } else if (!isLeadByte(b)) {
      return {};
    } else if (i + 1 == s.size()) {
      if (!field.mayBeCut) return {};
      reading.cut = true;
      reading.weight -= 1;
      break;
    } else if (!isTrailByte(at(s, i + 1))) {
      return {};
    } else {
      run.add(classifyDoubleByte(b, at(s, i + 1)));
      i += 2;
    }
  }
  endRun(false);
  reading.valid = true;
  return reading;
}

// ---- The other code pages, measured against the Japanese and Western readings

// Half-bits a point of the Japanese and Western weights is worth.
constexpr int kPoint = 5;
// How much more plausible than both the Japanese and the Western reading another one must
// be to win, in half-bits: what reads right as one of those two keeps reading so.
constexpr int kSingleByteMargin = 10;
constexpr int kDoubleByteMargin = 8;
// A symbol or mark where the Western reading has another character.
constexpr int kOtherMarkWeight = -6;
// An ID3v1 field cut inside its last character.
constexpr int kCutWeight = -2;

// The Western reading, byte by byte (0 for ASCII): a letter by its letter pairs, anything
// else by its Windows-1252 weight.
struct WesternReading {
  QVarLengthArray<int, 64> bytes;
  int weight = 0;
};

WesternReading westernReading(QByteArrayView s) {
  WesternReading r;
  r.bytes.resize(s.size());
  for (qsizetype i = 0; i < s.size(); ++i) {
    int w = 0;
    if (at(s, i) >= 0x80) {
      const auto letter = letterPlausibility(LetterLanguage::kWestern, s, i);
      w = letter ? *letter : kPoint * weighWindows1252Byte(s, i);
    }
    r.bytes[i] = w;
    r.weight += w;
  }
  return r;
}

// A single-byte reading weighs like the Western one where it has the same character, and
// by its own letter pairs where it differs.
std::optional<int> singleBytePlausibility(CodePage page, LetterLanguage language, QByteArrayView s,
                                          const WesternReading& western) {
  int weight = 0;
  for (qsizetype i = 0; i < s.size(); ++i) {
    const Byte b = at(s, i);
    if (b < 0x80) continue;
    const char16_t c = highCharacter(page, b);
    if (c == 0) return std::nullopt;
    if (c == (b < 0xA0 ? kWindows1252High[b - 0x80] : char16_t(b))) {
      weight += western.bytes[i];
    } else {
      weight += letterPlausibility(language, s, i).value_or(kOtherMarkWeight);
    }
  }
  return weight;
}

struct Reading {
  CodePage page;
  int weight;
  int margin;
  QByteArrayView bytes;
};

// The most plausible reading in a code page other than CP932 and Windows-1252 (in the
// order of CodePage where equally plausible), if it is more plausible than both of those
// by its margin.
std::optional<QString> otherReading(const Field& field, const WesternReading& western, int bar) {
  std::optional<Reading> best;
  const auto consider = [&](const Reading& r) {
    if (!best || r.weight > best->weight) best = r;
  };
  const struct {
    CodePage page;
    DoubleByteLanguage language;
  } doubleByte[] = {{CodePage::kKorean, DoubleByteLanguage::kKorean},
                    {CodePage::kSimplifiedChinese, DoubleByteLanguage::kSimplifiedChinese},
                    {CodePage::kTraditionalChinese, DoubleByteLanguage::kTraditionalChinese}};
  for (const auto& [page, language] : doubleByte) {
    QByteArrayView bytes = field.bytes;
    int cut = 0;
    auto text = decodeStrict(page, bytes);
    if (!text && field.mayBeCut && !bytes.isEmpty() && at(bytes, bytes.size() - 1) >= 0x81) {
      bytes.chop(1);
      text = decodeStrict(page, bytes);
      cut = kCutWeight;
    }
    if (!text) continue;
    if (auto weight = doubleBytePlausibility(language, bytes, *text)) {
      consider({page, *weight + cut, kDoubleByteMargin, bytes});
    }
  }
  for (const auto& [page, language] :
       {std::pair{CodePage::kCyrillic, LetterLanguage::kCyrillic},
        std::pair{CodePage::kCentralEuropean, LetterLanguage::kCentralEuropean}}) {
    if (auto weight = singleBytePlausibility(page, language, field.bytes, western)) {
      consider({page, *weight, kSingleByteMargin, field.bytes});
    }
  }
  if (!best || best->weight <= bar + best->margin) return std::nullopt;
  return decodeStrict(best->page, best->bytes);
}

}  // namespace

EightBitWeights weighEightBitText(QByteArrayView bytes, EightBitField kind) {
  const Field field = fieldOf(bytes, kind);
  const JapaneseReading japanese = weighCp932(field);
  return {japanese.valid, japanese.weight, weighWindows1252(field.bytes)};
}

QString decodeEightBitText(QByteArrayView bytes, EightBitField kind) {
  const Field field = fieldOf(bytes, kind);
  qsizetype length = 0;
  switch (classifyUtf8(field, length)) {
    case Utf8::kAscii:
      return QString::fromLatin1(field.bytes);
    case Utf8::kUtf8:
      return QString::fromUtf8(field.bytes.first(length));
    case Utf8::kOther:
      break;
  }
  const JapaneseReading japanese = weighCp932(field);
  const QByteArrayView whole = japanese.cut ? field.bytes.chopped(1) : field.bytes;
  const WesternReading western = westernReading(field.bytes);
  int bar = western.weight;
  if (japanese.valid) {
    if (auto text = decodeStrict(CodePage::kJapanese, whole)) {
      if (auto weight = doubleBytePlausibility(DoubleByteLanguage::kJapanese, whole, *text)) {
        bar = std::max(bar, *weight + (japanese.cut ? kCutWeight : 0));
      }
    }
  }
  if (auto other = otherReading(field, western, bar)) return *other;

  if (japanese.valid && japanese.weight >= weighWindows1252(field.bytes)) {
    // The weighing knows the code page's shape; iconv knows which codes are assigned.
    if (auto text = cp932::decodeStrict(whole)) return *text;
  }
  return decodeWindows1252(field.bytes);
}

}  // namespace orv::text
