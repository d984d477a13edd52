#include "tracks/TextRules.h"

#include "platform/CheckedInt.h"

namespace orv {

QString Trim(const QString& text) {
  qsizetype begin = 0;
  qsizetype end = text.size();
  while (begin < end && text.at(begin) == u' ') ++begin;
  while (end > begin && text.at(end - 1) == u' ') --end;
  return text.mid(begin, end - begin);
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
