#include "output/ScriptString.h"

#include "text/Cp932.h"

namespace orv {
namespace {

// The longest a UTF-16 code unit can become: \uXXXX.
constexpr qsizetype kMaxBytesPerUnit = 6;

char* writeUnicodeEscape(char16_t unit, char* out) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  *out++ = '\\';
  *out++ = 'u';
  *out++ = kHex[(unit >> 12) & 0xF];
  *out++ = kHex[(unit >> 8) & 0xF];
  *out++ = kHex[(unit >> 4) & 0xF];
  *out++ = kHex[unit & 0xF];
  return out;
}

// Characters that would end the string, the line or the script element, or that some
// script engines take as line ends.
bool needsEscape(char32_t c) {
  return c < 0x20 || c == 0x7F || c == u'<' || c == 0x2028 || c == 0x2029;
}

}  // namespace

void AppendScriptString(QStringView text, QByteArray& page) {
  const char16_t* units = text.utf16();
  const qsizetype size = text.size();
  // Written straight into room made for the worst case, then cut to what was used: the
  // writer of a 32,766-track page spends its time here.
  const qsizetype start = page.size();
  page.resize(start + size * kMaxBytesPerUnit);
  char* const begin = page.data();
  char* out = begin + start;
  for (qsizetype i = 0; i < size; ++i) {
    const char16_t unit = units[i];
    if (unit == u'\\' || unit == u'"') {
      *out++ = '\\';
      *out++ = static_cast<char>(unit);
      continue;
    }
    if (unit < 0x80 && !needsEscape(unit)) {  // the common case, ASCII as it is
      *out++ = static_cast<char>(unit);
      continue;
    }
    const bool pair =
        QChar::isHighSurrogate(unit) && i + 1 < size && QChar::isLowSurrogate(units[i + 1]);
    const char32_t c = pair ? QChar::surrogateToUcs4(unit, units[i + 1]) : unit;
    if (!needsEscape(c)) {
      if (const int n = text::cp932::encodeTo(c, out)) {
        out += n;
        if (pair) ++i;
        continue;
      }
    }
    out = writeUnicodeEscape(unit, out);
    if (pair) out = writeUnicodeEscape(units[++i], out);
  }
  page.resize(out - begin);
}

}  // namespace orv
