#include "core/NameOrder.h"

#include <utility>

namespace orv {

namespace {

// Each character upper-cased by Unicode's tables, a pair of surrogates as one.
QString upperCasedByTables(const QString& text) {
  QString result;
  result.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    char32_t c = text[i].unicode();
    if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
      c = QChar::surrogateToUcs4(text[i], text[i + 1]);
      ++i;
    }
    c = QChar::toUpper(c);
    if (QChar::requiresSurrogates(c)) {
      result += QChar(QChar::highSurrogate(c));
      result += QChar(QChar::lowSurrogate(c));
    } else {
      result += QChar(static_cast<char16_t>(c));
    }
  }
  return result;
}

}  // namespace

QString upperCased(const QString& text) {
  // Most names are plain ASCII, whose letters need no table: every listing keys all the
  // names of its folder.
  QString result(text.size(), Qt::Uninitialized);
  QChar* out = result.data();
  for (const QChar c : text) {
    const char16_t unit = c.unicode();
    if (unit >= 0x80) return upperCasedByTables(text);
    *out++ = QChar(unit >= u'a' && unit <= u'z' ? char16_t(unit - (u'a' - u'A')) : unit);
  }
  return result;
}

OrderedName::OrderedName(QString fileName) : key(upperCased(fileName)), name(std::move(fileName)) {}

}  // namespace orv
