#include "platform/taglib/EightBitText.h"

#include "platform/Cp932.h"

#include <optional>

namespace orv::platform {
namespace {

bool isAsciiLetter(QChar c) {
  const char16_t u = c.unicode();
  return (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z');
}

bool isKana(QChar c) { return c.unicode() >= 0x3041 && c.unicode() <= 0x30FF; }
bool isHalfWidthKatakana(QChar c) { return c.unicode() >= 0xFF61 && c.unicode() <= 0xFF9F; }
bool isUserDefined(QChar c) { return c.unicode() >= 0xE000 && c.unicode() <= 0xF8FF; }

// A run of characters outside ASCII, [begin, end) of the text.
bool runReadsAsJapanese(const QString& text, qsizetype begin, qsizetype end) {
  if (end - begin == 1 && isHalfWidthKatakana(text.at(begin))) return false;
  const bool gluedBefore = begin > 0 && isAsciiLetter(text.at(begin - 1));
  const bool gluedAfter = end < text.size() && isAsciiLetter(text.at(end));
  if (!gluedBefore || !gluedAfter) return true;
  for (qsizetype i = begin; i < end; ++i) {
    if (isKana(text.at(i))) return true;
  }
  return false;
}

// The CP932 reading of `bytes`, or nothing when they are not valid CP932. A field cut by
// its width may lose the second byte of its last character; that character is dropped.
std::optional<QString> decodeCp932(QByteArrayView bytes, bool mayEndMidCharacter) {
  if (auto text = cp932::decodeStrict(bytes)) return text;
  if (mayEndMidCharacter && !bytes.isEmpty()) return cp932::decodeStrict(bytes.chopped(1));
  return std::nullopt;
}

}  // namespace

bool readsAsJapanese(const QString& text) {
  bool any = false;
  qsizetype i = 0;
  while (i < text.size()) {
    if (text.at(i).unicode() < 0x80) {
      ++i;
      continue;
    }
    const qsizetype begin = i;
    while (i < text.size() && text.at(i).unicode() >= 0x80) {
      if (isUserDefined(text.at(i))) return false;
      ++i;
    }
    if (!runReadsAsJapanese(text, begin, i)) return false;
    any = true;
  }
  return any;
}

QString decodeEightBitText(QByteArrayView bytes, EightBitField field) {
  const qsizetype nul = bytes.indexOf('\0');
  // Only an ID3v1 field with no NUL was filled to its last byte, so only it can be cut.
  const bool mayEndMidCharacter = field == EightBitField::kId3v1 && nul < 0;
  if (nul >= 0) bytes = bytes.first(nul);
  if (const auto japanese = decodeCp932(bytes, mayEndMidCharacter);
      japanese && readsAsJapanese(*japanese)) {
    return *japanese;
  }
  return QString::fromLatin1(bytes);
}

}  // namespace orv::platform
