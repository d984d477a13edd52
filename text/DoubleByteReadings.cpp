#include "text/DoubleByteReadings.h"

#include "text/Bytes.h"

#include <QString>

#include <array>

namespace orv::text {
namespace {

namespace f = frequencies;
// Costs in half-bits of characters the tables don't cover, the same in every language.
constexpr int kPunctuationCost = 24;       // CJK and full-width punctuation and symbols
constexpr int kPrivateUseCost = 80;        // user-defined characters: no text has them
constexpr int kHalfWidthCost = 0;          // half-width katakana over their full-width kind
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
bool isHalfWidthKatakana(char32_t c) { return c >= 0xFF66 && c <= 0xFF9F; }
bool isHalfWidthPunctuation(char32_t c) { return c >= 0xFF61 && c <= 0xFF65; }

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
int characterLength(const CodePage& page, QByteArrayView s, qsizetype i) {
  const Byte b = static_cast<Byte>(s[i]);
  if (b < 0x80 || b == 0x80) return 1;
  if (page.characters.halfWidthKatakana && b >= 0xA1 && b <= 0xDF) return 1;
  if (page.fourByteSequences && i + 1 < s.size() && static_cast<Byte>(s[i + 1]) >= 0x30 &&
      static_cast<Byte>(s[i + 1]) <= 0x39) {
    return 4;
  }
  return 2;
}

// The cost of the character `c` outside ASCII, but half-width katakana.
int characterCost(const CharacterModel& model, char32_t c) {
  if (isPrivateUse(c)) return kPrivateUseCost;
  for (const CharacterCosts& table : model.tables) {
    if (table.costs != nullptr && c >= table.first && c <= table.last) {
      return f::cost(table.costs[c - table.first]);
    }
  }
  if (isHan(c)) return model.otherHanCost;
  if (isPunctuation(c) || (model.halfWidthKatakana && isHalfWidthPunctuation(c))) {
    return kPunctuationCost;
  }
  return model.otherCost;
}

// The weight of the character `c` outside ASCII, whose bytes are `length`; `katakana` is
// the half-width katakana before it (0: none), and becomes this one's.
int weighCharacter(const CharacterModel& model, char32_t c, int length, int& katakana) {
  const int before = katakana;
  katakana = 0;
  if (model.halfWidthKatakana && isHalfWidthKatakana(c)) {
    katakana = katakanaIndex(static_cast<char16_t>(c));
    return model.byteCost - kHalfWidthCost -
           f::cost(f::kKatakanaPairs[before * f::kKatakanaAlphabet + katakana]);
  }
  return model.byteCost * length - characterCost(model, c);
}

bool isOutsideCore(const CharacterModel& model, Byte lead, Byte trail) {
  return !(lead >= model.firstLead && lead <= model.lastLead && trail >= model.firstTrail);
}

}  // namespace

std::optional<int> doubleBytePlausibility(const CodePage& page, QByteArrayView bytes,
                                          QStringView text) {
  const CharacterModel& model = page.characters;
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
    const int length = characterLength(page, bytes, i);
    i += length;
    if (i > bytes.size()) return std::nullopt;
    if (c < 0x80) {
      katakana = 0;
      before = c;
      continue;
    }
    int w = weighCharacter(model, c, length, katakana);
    const Byte lead = static_cast<Byte>(bytes[i - length]);
    const Byte trail = length > 1 ? static_cast<Byte>(bytes[i - length + 1]) : 0;
    if (length == 4) w -= kFourByteCost;
    if (model.outsideCoreCost != 0 && length == 2 && isOutsideCore(model, lead, trail)) {
      w -= model.outsideCoreCost;
    }
    const bool letterAfter = i < bytes.size() && isAsciiLetter(static_cast<Byte>(bytes[i]));
    if (length == 2 && isAsciiLetter(trail) && letterAfter) w -= kTrailInWordCost;
    if (isAsciiLetter(before) && letterAfter) w -= kGluedCost;
    if (before >= 'a' && before <= 'z') w -= model.smallLetterBeforeCost;  // a word's inside
    if (i < bytes.size() && bytes[i] >= 'a' && bytes[i] <= 'z') w -= kSmallLetterAfterCost;
    weight += w;
    before = c;
  }
  if (i != bytes.size()) return std::nullopt;
  return weight;
}

}  // namespace orv::text
