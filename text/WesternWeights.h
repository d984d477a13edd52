#pragma once

#include <QByteArrayView>

namespace orv::text {

// How plausible the Windows-1252 reading of the byte s[i] (0x80 or above) is, by its
// shape: the evidence for it minus the evidence against it. A word does not turn from
// lower case to upper case ("åK" is a kanji's two bytes), and a text starts with a
// capital (a leading lower-case accent is rather a kanji's first byte).
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
//   weighWindows1252Byte("H\xE9l\xE8ne", 1) == 3   // é
//   weighWindows1252Byte("Don\x92t", 3) == 3   // ’
int weighWindows1252Byte(QByteArrayView s, qsizetype i);

// The sum of weighWindows1252Byte over the bytes of `s` outside ASCII.
//
//   weighWindows1252("H\xE9l\xE8ne") == 6
int weighWindows1252(QByteArrayView s);

}  // namespace orv::text
