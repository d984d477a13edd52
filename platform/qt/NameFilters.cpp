#include "platform/qt/NameFilters.h"

namespace orv::platform {
namespace {

// "*.mp3" as "*.[mM][pP]3". Letters already inside a bracket are left as they are.
QString anyLetterCase(const QString& pattern) {
  QString result;
  bool inBracket = false;
  for (const QChar c : pattern) {
    if (c == u'[') inBracket = true;
    if (c == u']') inBracket = false;
    if (inBracket || c.toLower() == c.toUpper()) {
      result += c;
    } else {
      result += u'[' + QString(c.toLower()) + c.toUpper() + u']';
    }
  }
  return result;
}

}  // namespace

QStringList nameFilters(const QString& filter, Chooser chooser) {
  const QStringList parts = filter.split(u'|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QStringList patterns;
    for (const QString& written : parts[i + 1].split(u';')) {
      const QString pattern = written.trimmed();
      if (pattern.isEmpty()) continue;
      patterns << (chooser == Chooser::kDesktop ? anyLetterCase(pattern) : pattern);
    }
    filters << QStringLiteral("%1 (%2)").arg(parts[i], patterns.join(u' '));
  }
  return filters;
}

}  // namespace orv::platform
