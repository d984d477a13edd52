#pragma once

#include <QByteArrayView>
#include <QString>

namespace orv::platform {

// Where 8-bit tag text comes from, which decides how its end is found.
enum class EightBitField {
  // An ID3v1 field: fixed width, padded with NULs. A field filled to the brim may end
  // in the middle of a double-byte character that the writer cut off.
  kId3v1,
  // An ID3v2 text marked ISO-8859-1: ends at its first NUL, never cut.
  kId3v2,
};

// Decodes 8-bit tag text. Many Japanese files carry Shift-JIS bytes where the tag format
// promises Latin-1, so the bytes are read as CP932 when they are valid CP932 and read as
// Japanese (see readsAsJapanese), and as Latin-1 otherwise. The text ends at the first NUL.
//
//   decodeEightBitText("\x83\x65\x83\x58\x83\x67", EightBitField::kId3v2) == u"テスト"
//   decodeEightBitText("Fran\xE7oise", EightBitField::kId3v2) == u"Françoise"
//   decodeEightBitText("\x83\x65\x83\x58\x83", EightBitField::kId3v1) == u"テス"  // when 30 bytes
//   long
QString decodeEightBitText(QByteArrayView bytes, EightBitField field);

// Whether `text`, the CP932 reading of some bytes, is Japanese rather than Latin-1 bytes
// that happen to form valid CP932. It is Japanese when it holds a character outside
// ASCII, no user-defined character (the CP932 area that Latin-1 "ö", "ñ", "ó" fall into),
// and every run of characters outside ASCII
//   - contains a kana, or is not glued to Latin letters on both sides ("Fran輟ise" is
//     "Françoise": Latin-1 lowercase accents before an ASCII letter form kanji), and
//   - is not one lone half-width katakana (Latin-1 "É", "ß", "©", "°" read as one).
//
//   readsAsJapanese(u"宇多田ヒカル") == true
//   readsAsJapanese(u"LOVEマシーン") == true
//   readsAsJapanese(u"Fran輟ise Hardy") == false
//   readsAsJapanese(u"ﾇa plane pour moi") == false
bool readsAsJapanese(const QString& text);

}  // namespace orv::platform
