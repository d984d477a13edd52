#pragma once

#include <QByteArrayView>

namespace orv::text {

// A byte of 8-bit text, as code pages number them.
using Byte = unsigned char;

//   byteAt("Caf\xE9", 3) == 0xE9
inline Byte byteAt(QByteArrayView bytes, qsizetype i) { return static_cast<Byte>(bytes[i]); }

//   isAsciiLetter('a') && !isAsciiLetter(0xE9)
constexpr bool isAsciiLetter(char32_t c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace orv::text
