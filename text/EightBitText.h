#pragma once

#include "text/EightBitField.h"
#include "text/Readings.h"

#include <QByteArrayView>
#include <QString>

namespace orv::text {

// Turns the raw bytes of a tag text whose encoding no tag records into the text its
// writer meant. Real files hold such bytes in the code page of their tagger's system (one
// of kCodePages): Shift-JIS from Japanese taggers, Windows-1252 from Western ones, CP949
// from Korean, GBK/GB18030 from simplified Chinese, Big5 (CP950) from traditional Chinese,
// Windows-1251 from Cyrillic and Windows-1250 from Central European ones; and UTF-8 from
// taggers that ignore the encoding byte. The text ends at the first NUL. Any bytes give a
// text; nothing throws.
//
//   1. Pure ASCII stays as it is, and valid UTF-8 with at least one multi-byte sequence
//      is UTF-8 (asciiOrUtf8, Utf8.h).
//   2. Every code page that decodes the bytes gives a reading, measured by how plausible
//      it is as text of its languages (readEightBitText, Readings.h). The Western
//      reading's marks and symbols count by their Western weight, 5 half-bits a point; a
//      single-byte reading counts like the Western one wherever it has the same character.
//   3. Then chosenReading decides: the most plausible reading of a challenging page
//      (CP949, GB18030, CP950, Windows-1251 or Windows-1250, in this order where equally
//      plausible) wins if it is more plausible than both the Japanese and the Western
//      reading by its page's margin: 4 bits for the double-byte pages, 5 bits for the
//      single-byte ones. What reads right as Japanese or Western therefore keeps doing so
//      unless another reading is clearly better.
//   4. Otherwise the Shift-JIS (CP932) and the Windows-1252 readings are weighed (see
//      weighEightBitText) and the more plausible one wins; where both are equally
//      plausible, Japanese wins, which is what this program's users' files mostly hold.
//      Bytes that are no valid CP932 are Windows-1252, whose five undefined bytes stay
//      the control characters of the same number.
//
// An ID3v1 field filled to its end may have lost the second byte of its last character:
// every double-byte reading then drops the lone first byte.
//
// This is how a text reads alone. A track's texts are read with its album's (AlbumTexts):
// steps 3 and 4 weigh the readings of all the album's 8-bit texts together, once per
// album, and each text then reads in the album's code page where that page reads it,
// unless its own reading is overwhelmingly better (12 bits, or between Japanese and
// Western, its own weights); valid UTF-8 that the album's page reads overwhelmingly better
// is read in that page too ("\xD1\xA6\xD6\xAE\xC7\xAB" is 薛之谦 in a GBK album):
//
//   // A short Korean title in a Korean album: alone it is half-width katakana.
//   decodeEightBitText("\xB3\xDA", EightBitField::kId3v2) == u"ｳﾚ"
//   //   with 기억을 걷는 시간 and 멀어지다 in CP949 beside it, it reads 넬 (euc-kr)
//   // A Western title in a Japanese compilation keeps its own reading.
//   decodeEightBitText("H\xE9l\xE8ne", EightBitField::kId3v2) == u"Hélène"
//   //   beside 勝手にシンドバッド and いとしのエリー in Shift-JIS, still Hélène, not H駘鈩e
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

// The reading that steps 3 and 4 above take, of the readings of one text as
// readEightBitText gives them.
//
//   const FieldBytes field = fieldBytes("\xCA\xE8\xED\xEE", EightBitField::kId3v2);
//   const EightBitReadings readings = readEightBitText(field);
//   kCodePages[chosenReading(readings).page].name == "windows-1251"   // Кино
const Reading& chosenReading(const EightBitReadings& readings);

// How plausible the Japanese and the Western reading of some bytes are, by the weights
// that decide between the two (step 4 above): the evidence for each minus the evidence
// against it, summed over its characters outside ASCII (JapaneseWeights.h lists the
// Japanese weights, WesternWeights.h the Western ones). `cp932Valid` is false when the
// bytes are no CP932 at all; the Japanese weight then means nothing.
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
