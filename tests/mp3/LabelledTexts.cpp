#include "tests/mp3/LabelledTexts.h"

#include "tests/support/CodePageTexts.h"
#include "tests/support/Files.h"

#include <QStringEncoder>
#include <QStringList>

#include <algorithm>
#include <iterator>
#include <stdexcept>

namespace orv::test {
namespace {

// Each label as the table writes it, and the name of Qt's (ICU's) codec for it, so that
// the tests do not share the program's decoders.
const struct {
  const char* name;
  TextLabel label;
  const char* codec;
} kLabels[] = {
    {"cp1252", TextLabel::kWindows1252, nullptr},
    {"cp932", TextLabel::kCp932, nullptr},
    {"utf8", TextLabel::kUtf8, nullptr},
    {"cp949", TextLabel::kCp949, "windows-949"},
    {"gbk", TextLabel::kGbk, "GBK"},
    {"big5", TextLabel::kBig5, "Big5"},
    {"cp1251", TextLabel::kWindows1251, "windows-1251"},
    {"cp1250", TextLabel::kWindows1250, "windows-1250"},
};

}  // namespace

std::optional<TextLabel> labelNamed(const QString& name) {
  for (const auto& l : kLabels) {
    if (name == QLatin1String(l.name)) return l.label;
  }
  return std::nullopt;
}

QString nameOf(TextLabel label) {
  for (const auto& l : kLabels) {
    if (l.label == label) return QString::fromLatin1(l.name);
  }
  return {};
}

const std::vector<LabelledText>& labelledTexts() {
  static const std::vector<LabelledText> table = [] {
    std::vector<LabelledText> out;
    const QStringList lines = QString::fromUtf8(readFile(ORV_LABELLED_TEXTS)).split(u'\n');
    QString section;  // a heading is a comment after an empty line
    bool afterEmpty = false;
    for (const QString& line : lines) {
      if (afterEmpty && line.startsWith(QStringLiteral("# "))) section = line.sliced(2);
      afterEmpty = line.isEmpty();
      if (line.isEmpty() || line.startsWith(u'#')) continue;
      const QString text = line.section(u'\t', 1, 1), readsAs = line.section(u'\t', 2, 2);
      const auto label = labelNamed(line.section(u'\t', 0, 0));
      if (!label) {
        throw std::runtime_error("labelled_texts.txt: unknown label in " + line.toStdString());
      }
      out.push_back({*label, text, readsAs, section});
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
      return entry.text.toUtf8();
    default:
      break;
  }
  const auto known = std::find_if(std::begin(kLabels), std::end(kLabels),
                                  [&](const auto& l) { return l.label == entry.label; });
  QStringEncoder encoder(known->codec);
  const QByteArray out = encoder.encode(entry.text);
  if (!encoder.isValid() || encoder.hasError()) {
    throw std::runtime_error("labelled_texts.txt: not " + std::string(known->name) + ": " +
                             entry.text.toStdString());
  }
  return out;
}

}  // namespace orv::test
