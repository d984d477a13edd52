#include "text/Cp932.h"

#include "text/CodePages.h"
#include "text/Iconv.h"

#include <cstdint>
#include <stdexcept>
#include <vector>

namespace orv::text::cp932 {
namespace {

// glibc's "CP932" decodes all of the code page, NEC and IBM extensions included, unlike
// its strict "SHIFT_JIS".
iconv_t decoder() {
  iconv_t cd = utf16Decoder(kCodePages[pageNamed("shift_jis")].iconvName);
  if (cd == nullptr) throw std::runtime_error("iconv: no CP932 converter");
  return cd;
}

// Appends as much of [in, in + size) as is valid, decoded. Returns the bytes consumed.
size_t appendValidPrefix(const char* in, size_t size, QString& out) {
  const qsizetype start = out.size();
  out.resize(start + static_cast<qsizetype>(size));  // never more code units than bytes
  size_t written = 0;
  const size_t used = decodeValidPrefix(decoder(), in, size,
                                        reinterpret_cast<char16_t*>(out.data() + start), written);
  out.resize(start + static_cast<qsizetype>(written));
  return used;
}

// CP932 bytes for every BMP character that round-trips; 0 where none does.
// Single bytes are stored as 0x00bb, double bytes as 0xLLTT.
const std::vector<std::uint16_t>& encodeTable() {
  static const std::vector<std::uint16_t> table = [] {
    std::vector<std::uint16_t> t(0x10000, 0);
    std::vector<std::uint16_t> seen(0x10000, 0);
    auto consider = [&](std::uint16_t code, const char* bytes, size_t n) {
      QString s;
      if (appendValidPrefix(bytes, n, s) != n || s.size() != 1) return;
      const char16_t u = s.at(0).unicode();
      // Several byte sequences decode to one character (the NEC and IBM duplicates).
      // Windows writes the lowest, except that it never writes the NEC-selected IBM
      // extensions (lead bytes 0xED, 0xEE) when the IBM extensions hold the character.
      const auto necSelected = [](std::uint16_t c) { return c >= 0xED00 && c <= 0xEEFF; };
      if (seen[u]++ == 0 || (necSelected(t[u]) && !necSelected(code))) t[u] = code;
    };
    for (int b = 0; b < 0x100; ++b) {
      const char c = static_cast<char>(b);
      consider(static_cast<std::uint16_t>(b), &c, 1);
    }
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
      if (lead >= 0xA0 && lead <= 0xDF) continue;
      for (int trail = 0x40; trail <= 0xFC; ++trail) {
        const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        consider(static_cast<std::uint16_t>(lead << 8 | trail), bytes, 2);
      }
    }
    t[0] = 0;  // U+0000 is written as an escape by callers; keep the table's 0 = none
    return t;
  }();
  return table;
}

}  // namespace

QString decode(QByteArrayView bytes) {
  QString out;
  out.reserve(bytes.size());
  const char* p = bytes.data();
  size_t left = static_cast<size_t>(bytes.size());
  while (left > 0) {
    const size_t used = appendValidPrefix(p, left, out);
    p += used;
    left -= used;
    if (left > 0) {  // an invalid or cut sequence: skip one byte
      out.append(QChar(0xFFFD));
      ++p;
      --left;
    }
  }
  return out;
}

std::optional<QString> decodeStrict(QByteArrayView bytes) {
  QString out;
  const size_t size = static_cast<size_t>(bytes.size());
  if (appendValidPrefix(bytes.data(), size, out) != size) return std::nullopt;
  return out;
}

int encodeTo(char32_t ch, char* out) {
  if (ch == 0) {
    out[0] = '\0';
    return 1;
  }
  if (ch > 0xFFFF) return 0;
  static const std::vector<std::uint16_t>& table = encodeTable();
  const std::uint16_t code = table[ch];
  if (code == 0) return 0;
  if (code <= 0xFF) {
    out[0] = static_cast<char>(code);
    return 1;
  }
  out[0] = static_cast<char>(code >> 8);
  out[1] = static_cast<char>(code & 0xFF);
  return 2;
}

bool appendEncoded(char32_t ch, QByteArray& out) {
  char bytes[2];
  const int n = encodeTo(ch, bytes);
  out.append(bytes, n);
  return n > 0;
}

}  // namespace orv::text::cp932
