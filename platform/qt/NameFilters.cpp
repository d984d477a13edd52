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

QString nameFilter(const QString& description, const QString& pattern, Chooser chooser) {
  return QStringLiteral("%1 (%2)").arg(
      description, chooser == Chooser::kDesktop ? anyLetterCase(pattern) : pattern);
}

}  // namespace orv::platform
