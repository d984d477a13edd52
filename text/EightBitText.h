#pragma once

#include <QByteArrayView>
#include <QString>

namespace orv::text {

// Where 8-bit tag text comes from, which decides how its end is found.
enum class EightBitField {
  // An ID3v1 field: fixed width, padded with NULs. A field filled to the brim may end
  // in the middle of a character that the writer cut off; that broken half is dropped.
  kId3v1,
  // An ID3v2 text frame marked ISO-8859-1, or one value of an APE item: ends at its
  // first NUL, never cut.
  kId3v2,
};

// Turns the raw bytes of a tag text whose encoding no tag records into the text its
// writer meant. Real files hold such bytes in the code page of their tagger's system:
// Shift-JIS from Japanese taggers, Windows-1252 from Western ones, CP949 from Korean,
// GBK/GB18030 from simplified Chinese, Big5 (CP950) from traditional Chinese, Windows-1251
// from Cyrillic and Windows-1250 from Central European ones; and UTF-8 from taggers that
// ignore the encoding byte. The text ends at the first NUL. Any bytes give a text; nothing
// throws.
//
//   1. Pure ASCII stays as it is.
//   2. Valid UTF-8 with at least one multi-byte sequence is UTF-8 (8-bit texts almost
//      never are).
//   3. Every code page that decodes the bytes gives a reading, and each reading is
//      measured by how plausible it is as text of its languages: in half-bits, the
//      log-likelihood of its characters outside ASCII under the languages' character
//      frequencies (Chinese, Japanese, Korean; see DoubleByteReadings.h) or letter-pair
//      frequencies (alphabets; see LetterPairs.h), over that of random bytes. The Western
//      reading's marks and symbols count by their Western weight (below), 5 half-bits a
//      point; a single-byte reading counts like the Western one wherever it has the same
//      character.
//   4. The most plausible reading in CP949, GB18030, CP950, Windows-1251 or Windows-1250
//      (in this order where equally plausible) wins if it is more plausible than both the
//      Japanese and the Western reading by a margin: 4 bits for the double-byte code pages,
//      5 bits for the single-byte ones. What reads right as Japanese or Western therefore
//      keeps doing so unless another reading is clearly better.
//   5. Otherwise the Shift-JIS (CP932) and the Windows-1252 readings are weighed (see
//      weighEightBitText) and the more plausible one wins; where both are equally
//      plausible, Japanese wins, which is what this program's users' files mostly hold.
//      Bytes that are no valid CP932 are Windows-1252, whose five undefined bytes stay
//      the control characters of the same number.
//
// An ID3v1 field filled to its end may have lost the second byte of its last character:
// every double-byte reading then drops the lone first byte.
//
//   decodeEightBitText("DJ\x96{\x93\x63MIX", EightBitField::kId3v2) == u"DJ本田MIX"
//   decodeEightBitText("Andr\xE9s", EightBitField::kId3v2) == u"Andrés"
//   decodeEightBitText("Don\x92t Stop", EightBitField::kId3v2) == u"Don’t Stop"
//   decodeEightBitText("Bj\xC3\xB6rk", EightBitField::kId3v2) == u"Björk"
//   decodeEightBitText("\xBE\xC6\xC0\xCC\xC0\xAF", EightBitField::kId3v2) == u"아이유"
//   decodeEightBitText("\xC7\xE7\xCC\xEC", EightBitField::kId3v2) == u"晴天"  // GBK
//   decodeEightBitText("\xB4\xB8\xA4\xD1", EightBitField::kId3v2) == u"晴天"  // Big5
//   decodeEightBitText("\xCA\xE8\xED\xEE", EightBitField::kId3v2) == u"Кино"
//   decodeEightBitText("Dvo\xF8\xE1k", EightBitField::kId3v2) == u"Dvořák"
//   // An ID3v1 field without a NUL was filled to its end: the cut lead byte is dropped.
//   decodeEightBitText("\x83\x65\x83\x58\x83", EightBitField::kId3v1) == u"テス"
QString decodeEightBitText(QByteArrayView bytes, EightBitField field);

// How plausible the Japanese and the Western reading of some bytes are, by the weights
// that decide between the two (step 5 above): the evidence for each minus the evidence
// against it, summed over its characters outside ASCII. `cp932Valid` is false when the
// bytes are no CP932 at all; the Japanese weight then means nothing.
//
// Japanese, the CP932 reading, weighed by runs of characters outside ASCII. A run is
// "glued" where an ASCII letter touches it: Western accents and marks become lone
// characters glued to the letters of their word, and a level-2 kanji, a user-defined
// character or a half-width katakana rarely stands alone in Japanese.
//   kana, "ー"                                         +3
//   full-width forms, CJK punctuation and symbols      +2
//   level-1 kanji                                      +3 in runs, +2 alone, +1 glued
//   level-2 kanji, IBM extensions                      +2 in runs, +1 alone, -2 glued
//   NEC symbols (① Ⅱ № ㈱)                             +2, alone and glued -2
//   half-width katakana                                +1 in runs, 0 alone, -2 glued
//   Greek, Cyrillic, box drawing                       +1, alone and glued 0
//   user-defined characters                            -4
//   a run glued on both sides with only level-2 kanji,
//   extensions, half-width katakana or Greek            -3 more
//   an ID3v1 field cut inside its last character       -1
//
// Western, the Windows-1252 reading, byte by byte. A word does not turn from lower case
// to upper case ("åK" is a kanji's two bytes), and a text starts with a capital (a
// leading lower-case accent is rather a kanji's first byte).
//   accented letter, Œ œ, inside a word                 +3 (Š š Ž ž: +2)
//   ... at a word's edge, no symbol beside it          +2 (Š š Ž ž: +1)
//   ... standing alone between spaces                   +1
//   ... with no ASCII letter beside it but a symbol     -1
//   ‘ “ ” « » at a word's edge or between spaces        +2 (‚ „ ‹ ›: +1)
//   ’ between ASCII letters                             +3; inside or at a word's
//                                                       edge: +2
//   – — • between spaces or digits                      +2; touching a word: 0
//   … after a word or between spaces                    +2; before a word: +1
//   other symbol (© ° ½ € ™ ¿) beside a space or digit  +1
//   mark or symbol glued inside a word                  -2
//   mark or symbol anywhere else                        -1
//   bytes undefined in Windows-1252 (81 8D 8F 90 9D)    -4
//
//   text          CP932 reading      1252 reading    Japanese  Western
//   DJ本田MIX     DJ本田MIX          DJ–{“cMIX         6        -2
//   Bの曲         Bの曲              B‚Ì‹È            6        -4
//   ｻｻﾞﾝ          ｻｻﾞﾝ               »»ÞÝ              4        -2
//   空            空                 ‹ó                2         1
//   Andrés        Andr駸             Andrés           -2         3
//   Hélène        H駘鈩e             Hélène            1         6
//   Don’t Stop    Don稚 Stop         Don’t Stop        1         3
//   Comme ça      Comme 軋           Comme ça          1         2
//   ÉCOLE         ﾉCOLE              ÉCOLE            -2         2
//   Björk         Bj+U+E49A+k        Björk            -4         3
struct EightBitWeights {
  bool cp932Valid = false;
  int japanese = 0;
  int western = 0;
};
EightBitWeights weighEightBitText(QByteArrayView bytes, EightBitField field);

}  // namespace orv::text
