#include "core/NameOrder.h"

#include <utility>

namespace orv {

QString upperCased(const QString& text) {
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

OrderedName::OrderedName(QString fileName) : key(upperCased(fileName)), name(std::move(fileName)) {}

}  // namespace orv
