#include "output/ScriptString.h"

#include "platform/Cp932.h"

namespace orv {
namespace {

void appendUnicodeEscape(char16_t unit, QByteArray& page) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  const char escape[6] = {'\\',
                          'u',
                          kHex[(unit >> 12) & 0xF],
                          kHex[(unit >> 8) & 0xF],
                          kHex[(unit >> 4) & 0xF],
                          kHex[unit & 0xF]};
  page.append(escape, sizeof escape);
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
  for (qsizetype i = 0; i < size; ++i) {
    const char16_t unit = units[i];
    if (unit == u'\\' || unit == u'"') {
      page.append('\\');
      page.append(static_cast<char>(unit));
      continue;
    }
    if (unit < 0x80 && !needsEscape(unit)) {  // the common case, ASCII as it is
      page.append(static_cast<char>(unit));
      continue;
    }
    const bool pair =
        QChar::isHighSurrogate(unit) && i + 1 < size && QChar::isLowSurrogate(units[i + 1]);
    const char32_t c = pair ? QChar::surrogateToUcs4(unit, units[i + 1]) : unit;
    if (!needsEscape(c) && cp932::appendEncoded(c, page)) {
      if (pair) ++i;
      continue;
    }
    appendUnicodeEscape(unit, page);
    if (pair) appendUnicodeEscape(units[++i], page);
  }
}

}  // namespace orv
