#include "text/DoubleByteReadings.h"

#include "text/frequencies/Frequencies.h"

#include <QString>

#include <array>

namespace orv::text {
namespace {

namespace f = frequencies;
using Byte = unsigned char;
using Language = DoubleByteLanguage;

// Costs in half-bits of characters the tables don't cover.
constexpr int kPunctuationCost = 24;  // CJK and full-width punctuation and symbols
constexpr int kForeignCost = 40;      // kana in Chinese or Korean, hanja in Korean, Greek …
constexpr int kJapaneseOtherCost = 28;
constexpr int kPrivateUseCost = 80;        // user-defined characters: no text has them
constexpr int kHalfWidthCost = 0;          // half-width katakana over their full-width kind
constexpr int kGbkExtensionCost = 8;       // GBK outside GB 2312: rare in simplified Chinese
constexpr int kFourByteCost = 40;          // GB18030's four-byte characters
constexpr int kTrailInWordCost = 12;       // a trail byte that is an ASCII letter, a letter after
constexpr int kGluedCost = 24;             // ASCII letters on both sides
constexpr int kSmallLetterAfterCost = 12;  // CJK text seldom runs into a Latin word

bool isHan(char32_t c) {
  return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) ||
         (c >= 0xF900 && c <= 0xFAFF);
}
bool isPunctuation(char32_t c) {
  return (c >= 0x3000 && c <= 0x303F) || (c >= 0xFF00 && c <= 0xFF60) ||
         (c >= 0xFFE0 && c <= 0xFFEF) || (c >= 0x2010 && c <= 0x2BFF) || c == 0xB7 || c == 0xA7 ||
         c == 0xB0 || c == 0xD7;
}
bool isPrivateUse(char32_t c) { return c >= 0xE000 && c <= 0xF8FF; }
bool isAsciiLetter(char32_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

int tableCost(const char* table, char32_t first, char32_t c) { return f::cost(table[c - first]); }

// The katakana that the half-width form U+FF66-U+FF9F stands for, as its index in the
// katakana pairs' alphabet.
int katakanaIndex(char16_t halfWidth) {
  static const std::array<int, 0x3A> table = [] {
    std::array<int, 0x3A> t{};
    for (char16_t c = 0xFF66; c <= 0xFF9D; ++c) {
      const QString full = QString(QChar(c)).normalized(QString::NormalizationForm_KC);
      const char16_t k = full.size() == 1 ? full.at(0).unicode() : 0;
      if (k >= 0x30A1 && k <= 0x30FA) t[c - 0xFF66] = k - 0x30A1 + 1;
      if (k == 0x30FC) t[c - 0xFF66] = 91;
    }
    t[0xFF9E - 0xFF66] = 92;  // the voiced marks
    t[0xFF9F - 0xFF66] = 93;
    return t;
  }();
  return table[halfWidth - 0xFF66];
}

// The bytes of the character that starts at `i`.
int characterLength(Language language, QByteArrayView s, qsizetype i) {
  const Byte b = static_cast<Byte>(s[i]);
  if (b < 0x80 || b == 0x80) return 1;
  if (language == Language::kJapanese && b >= 0xA1 && b <= 0xDF) return 1;
  if (language == Language::kSimplifiedChinese && i + 1 < s.size() &&
      static_cast<Byte>(s[i + 1]) >= 0x30 && static_cast<Byte>(s[i + 1]) <= 0x39) {
    return 4;
  }
  return 2;
}

// The weight of the Japanese character `c`, whose bytes are `length`; `katakana` is the
// half-width katakana before it (0: none), and becomes this one's.
int weighJapanese(char32_t c, int length, int& katakana) {
  const int before = katakana;
  katakana = 0;
  if (c >= 0xFF66 && c <= 0xFF9F) {
    katakana = katakanaIndex(static_cast<char16_t>(c));
    return 14 - kHalfWidthCost -
           f::cost(f::kKatakanaPairs[before * f::kKatakanaAlphabet + katakana]);
  }
  const int base = 14 * length;
  if (c >= 0x3040 && c <= 0x30FF) return base - tableCost(f::kKana, 0x3040, c);
  if (c >= 0x4E00 && c <= 0x9FFF) return base - tableCost(f::kKanji, 0x4E00, c);
  if (isHan(c)) return base - 63;
  if (isPunctuation(c) || (c >= 0xFF61 && c <= 0xFF65)) return base - kPunctuationCost;
  if (isPrivateUse(c)) return base - kPrivateUseCost;
  return base - kJapaneseOtherCost;
}

int characterCost(Language language, char32_t c) {
  if (isPrivateUse(c)) return kPrivateUseCost;
  if (language == Language::kKorean) {
    if (c >= 0xAC00 && c <= 0xD7A3) return tableCost(f::kHangul, 0xAC00, c);
    return isPunctuation(c) ? kPunctuationCost : kForeignCost;
  }
  if (c >= 0x4E00 && c <= 0x9FFF) {
    return tableCost(
        language == Language::kSimplifiedChinese ? f::kSimplifiedHanzi : f::kTraditionalHanzi,
        0x4E00, c);
  }
  if (isHan(c)) return 63;
  return isPunctuation(c) ? kPunctuationCost : kForeignCost;
}

}  // namespace

std::optional<int> doubleBytePlausibility(Language language, QByteArrayView bytes,
                                          QStringView text) {
  int weight = 0;
  int katakana = 0;
  qsizetype i = 0;
  char32_t before = 0;
  for (qsizetype k = 0; k < text.size(); ++k) {
    char32_t c = text[k].unicode();
    if (text[k].isHighSurrogate() && k + 1 < text.size() && text[k + 1].isLowSurrogate()) {
      c = QChar::surrogateToUcs4(text[k], text[k + 1]);
      ++k;
    }
    if (i >= bytes.size()) return std::nullopt;
    const int length = characterLength(language, bytes, i);
    i += length;
    if (i > bytes.size()) return std::nullopt;
    if (c < 0x80) {
      katakana = 0;
      before = c;
      continue;
    }
    int w = language == Language::kJapanese ? weighJapanese(c, length, katakana)
                                            : 15 * length - characterCost(language, c);
    const Byte lead = static_cast<Byte>(bytes[i - length]);
    const Byte trail = length > 1 ? static_cast<Byte>(bytes[i - length + 1]) : 0;
    if (length == 4) w -= kFourByteCost;
    if (language == Language::kSimplifiedChinese && length == 2 &&
        !(lead >= 0xA1 && lead <= 0xF7 && trail >= 0xA1)) {
      w -= kGbkExtensionCost;
    }
    const bool letterAfter = i < bytes.size() && isAsciiLetter(static_cast<Byte>(bytes[i]));
    if (length == 2 && isAsciiLetter(trail) && letterAfter) w -= kTrailInWordCost;
    if (isAsciiLetter(before) && letterAfter) w -= kGluedCost;
    if (language != Language::kJapanese && before >= 'a' && before <= 'z') {
      w -= kSmallLetterAfterCost;  // nor start inside one ("iPhone用" is Japanese)
    }
    if (i < bytes.size() && bytes[i] >= 'a' && bytes[i] <= 'z') {
      w -= kSmallLetterAfterCost;
    }
    weight += w;
    before = c;
  }
  if (i != bytes.size()) return std::nullopt;
  return weight;
}

}  // namespace orv::text
