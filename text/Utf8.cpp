#include "text/Utf8.h"

#include "text/Bytes.h"

namespace orv::text {
namespace {

// The length of the valid UTF-8 sequence that starts at `i` (lead byte 0x80 or above);
// 0 when it is invalid, -1 when the bytes end inside it.
int utf8SequenceAt(QByteArrayView s, qsizetype i) {
  const Byte lead = byteAt(s, i);
  int length = 0;
  Byte low = 0x80, high = 0xBF;  // the range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;  // nothing past U+10FFFF
  } else {
    return 0;
  }
  for (int k = 1; k < length; ++k) {
    if (i + k >= s.size()) return -1;
    const Byte c = byteAt(s, i + k);
    if (c < (k == 1 ? low : 0x80) || c > (k == 1 ? high : 0xBF)) return 0;
  }
  return length;
}

}  // namespace

std::optional<QString> asciiOrUtf8(const FieldBytes& field) {
  const QByteArrayView s = field.bytes;
  bool multiByte = false;
  for (qsizetype i = 0; i < s.size();) {
    if (byteAt(s, i) < 0x80) {
      ++i;
      continue;
    }
    const int n = utf8SequenceAt(s, i);
    if (n < 0 && field.mayBeCut && multiByte) return QString::fromUtf8(s.first(i));
    if (n <= 0) return std::nullopt;
    multiByte = true;
    i += n;
  }
  return multiByte ? QString::fromUtf8(s) : QString::fromLatin1(s);
}

}  // namespace orv::text
