#pragma once

#include <QByteArrayView>

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

// The bytes of a field's text: up to its first NUL.
struct FieldBytes {
  QByteArrayView bytes;
  bool mayBeCut = false;  // an ID3v1 field filled to its last byte
};

//   fieldBytes("Intro\0Outro", EightBitField::kId3v1) == {"Intro", false}
//   fieldBytes("ABC", EightBitField::kId3v1) == {"ABC", true}
inline FieldBytes fieldBytes(QByteArrayView bytes, EightBitField field) {
  const qsizetype nul = bytes.indexOf('\0');
  if (nul >= 0) return {bytes.first(nul), false};
  return {bytes, field == EightBitField::kId3v1};
}

}  // namespace orv::text
