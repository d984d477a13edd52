#include "tests/mp3/LabelledTexts.h"

#include "tests/mp3/Mp3Files.h"
#include "tests/support/Files.h"

#include <QStringList>

#include <stdexcept>

namespace orv::test {

const std::vector<LabelledText>& labelledTexts() {
  static const std::vector<LabelledText> table = [] {
    std::vector<LabelledText> out;
    const QStringList lines = QString::fromUtf8(readFile(ORV_LABELLED_TEXTS)).split(u'\n');
    for (const QString& line : lines) {
      if (line.isEmpty() || line.startsWith(u'#')) continue;
      const QString label = line.section(u'\t', 0, 0), text = line.section(u'\t', 1, 1),
                    readsAs = line.section(u'\t', 2, 2);
      if (label == u"cp1252") {
        out.push_back({TextLabel::kWindows1252, text, readsAs});
      } else if (label == u"cp932") {
        out.push_back({TextLabel::kCp932, text, readsAs});
      } else if (label == u"utf8") {
        out.push_back({TextLabel::kUtf8, text, readsAs});
      } else {
        throw std::runtime_error("labelled_texts.txt: unknown label in " + line.toStdString());
      }
    }
    return out;
  }();
  return table;
}

QByteArray tagBytes(const LabelledText& entry) {
  switch (entry.label) {
    case TextLabel::kWindows1252:
      return windows1252(entry.text);
    case TextLabel::kCp932:
      return sjis(entry.text);
    case TextLabel::kUtf8:
      break;
  }
  return entry.text.toUtf8();
}

}  // namespace orv::test
