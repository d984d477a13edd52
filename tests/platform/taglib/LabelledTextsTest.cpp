// Every text of the labelled table, read through the track reader from real MP3 files:
// as an ID3v2.3 frame marked ISO-8859-1 (the title), as an APE item (the album) and, where
// it fits in 30 bytes, as an ID3v1 field (the artist).

#include "tests/mp3/LabelledTexts.h"
#include "tests/mp3/Mp3Files.h"
#include "tests/platform/taglib/DetailFiles.h"

#include <gtest/gtest.h>

namespace orv::test {
namespace {

struct Group {
  const char* name;
  TextLabel label;
  bool asUtf8;  // the table's text written as UTF-8 instead of its label's encoding
};

void PrintTo(const Group& group, std::ostream* out) { *out << group.name; }

class LabelledTexts : public testing::TestWithParam<Group> {};

TEST_P(LabelledTexts, ReadAsTheirWritersMeantThem) {
  const Group group = GetParam();
  DetailFiles files;
  int count = 0;
  for (const LabelledText& entry : labelledTexts()) {
    if (entry.label != group.label) continue;
    const QByteArray bytes = group.asUtf8 ? entry.text.toUtf8() : tagBytes(entry);
    const bool fitsId3v1 = bytes.size() <= 30;
    const QString name = QString::number(++count) + ".mp3";
    files.put(name, id3v2Tag(3, {rawLatin1Frame("TIT2", bytes)}) + shortMp3() +
                        rawApeTag({{"Album", bytes}}) +
                        id3v1Tag({}, fitsId3v1 ? bytes : QByteArray(), {}));
    const auto details = files.details(name);
    const QString& meant = group.asUtf8 || entry.readsAs.isEmpty() ? entry.text : entry.readsAs;
    const std::string expected = meant.toStdString();
    EXPECT_EQ(details.title.alone().toStdString(), expected) << "as ID3v2.3";
    EXPECT_EQ(details.albumTitle.alone().toStdString(), expected) << "as APE";
    if (fitsId3v1) {
      EXPECT_EQ(details.artist.alone().toStdString(), expected) << "as ID3v1";
    }
  }
  EXPECT_GT(count, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, LabelledTexts,
    testing::Values(Group{"Windows1252", TextLabel::kWindows1252, false},
                    Group{"ShiftJis", TextLabel::kCp932, false},
                    Group{"Korean", TextLabel::kCp949, false},
                    Group{"SimplifiedChinese", TextLabel::kGbk, false},
                    Group{"TraditionalChinese", TextLabel::kBig5, false},
                    Group{"Windows1251", TextLabel::kWindows1251, false},
                    Group{"Windows1250", TextLabel::kWindows1250, false},
                    Group{"Windows1252TextsAsUtf8", TextLabel::kWindows1252, true},
                    Group{"ShiftJisTextsAsUtf8", TextLabel::kCp932, true},
                    Group{"KoreanTextsAsUtf8", TextLabel::kCp949, true},
                    Group{"SimplifiedChineseTextsAsUtf8", TextLabel::kGbk, true},
                    Group{"TraditionalChineseTextsAsUtf8", TextLabel::kBig5, true},
                    Group{"Windows1251TextsAsUtf8", TextLabel::kWindows1251, true},
                    Group{"Windows1250TextsAsUtf8", TextLabel::kWindows1250, true},
                    Group{"Utf8Only", TextLabel::kUtf8, false}),
    [](const testing::TestParamInfo<Group>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orv::test
