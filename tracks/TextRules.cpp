#include "tracks/TextRules.h"

#include "core/CheckedInt.h"

namespace orv {

QStringView TrimSpaces(QStringView text) {
  while (!text.isEmpty() && text.front() == u' ') text = text.sliced(1);
  while (!text.isEmpty() && text.back() == u' ') text.chop(1);
  return text;
}

QString Trim(const QString& text) {
  const QStringView trimmed = TrimSpaces(text);
  // A text without surrounding spaces is shared, not copied.
  return trimmed.size() == text.size() ? text : trimmed.toString();
}

QString ReplaceQuotes(const QString& text) {
  // The position counter steps one past the length, so 32,767 characters overflow.
  Int16 length = text.size();
  length += 1;
  QString result = text;
  result.replace(u'"', u'\'');
  return result;
}

}  // namespace orv
