#include "text/TagText.h"

#include "text/EightBitText.h"

namespace orv::text {
namespace {

bool isWhiteSpace(QChar c) {
  return c == u' ' || c == u'\t' || c == u'\n' || c == u'\f' || c == u'\r';
}

QString withoutWhiteSpaceAround(const QString& text) {
  qsizetype first = 0, last = text.size();
  while (first < last && isWhiteSpace(text[first])) ++first;
  while (last > first && isWhiteSpace(text[last - 1])) --last;
  return first == 0 && last == text.size() ? text : text.sliced(first, last - first);
}

}  // namespace

QString TagText::read(const std::function<QString(const EightBitValue&)>& read) const {
  QString out;
  for (const Part& part : parts_) {
    if (const auto* text = std::get_if<QString>(&part)) {
      out += *text;
    } else {
      const auto& value = std::get<EightBitValue>(part);
      const QString decided = read(value);
      out += value.field == EightBitField::kId3v1 ? withoutWhiteSpaceAround(decided) : decided;
    }
  }
  return out;
}

QString TagText::alone() const {
  return read(
      [](const EightBitValue& value) { return decodeEightBitText(value.bytes, value.field); });
}

}  // namespace orv::text
