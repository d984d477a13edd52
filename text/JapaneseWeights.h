#pragma once

#include "text/EightBitField.h"

namespace orv::text {

// The CP932 reading of a field by its shape, weighed by runs of characters outside ASCII:
// the evidence for it minus the evidence against it. A run is "glued" where an ASCII
// letter touches it: Western accents and marks become lone characters glued to the letters
// of their word, and a level-2 kanji, a user-defined character or a half-width katakana
// rarely stands alone in Japanese.
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
// The bytes are no CP932 (`valid` false) where a byte outside ASCII is neither a lead byte
// followed by a trail byte nor a half-width katakana; but a field that may be cut may end
// in a lead byte (`cut`), which the reading leaves out.
//
//   weighCp932({"DJ\x96{\x93\x63MIX"}) == {.valid = true, .weight = 6}     // DJ本田MIX
//   weighCp932({"\x83\x65\x83\x58\x83", true}) == {true, true, 5}          // テス, cut
//   weighCp932({"Caf\xE9"}).valid == false
struct JapaneseWeight {
  bool valid = false;
  bool cut = false;
  int weight = 0;
};
JapaneseWeight weighCp932(const FieldBytes& field);

}  // namespace orv::text
