#include "tracks/TagReading.h"

#include "core/RuntimeError.h"
#include "platform/taglib/TagLibTrackDetails.h"
#include "tests/mp3/LabelledTexts.h"
#include "tests/mp3/Mp3Files.h"
#include "tests/support/Errors.h"
#include "tests/support/Fakes.h"
#include "tests/support/Files.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace orv {
namespace {

using namespace Qt::StringLiterals;

using test::errorOf;
using test::FakeTrackDetails;

// Reads record `index` as an album of its own.
void readAlone(TrackTable& table, Int16 index, platform::TrackDetailsReader& reader) {
  AlbumTagReading reading;
  reading.read(table, index, reader);
  reading.store(table);
}

TrackTable tableOf(const QString& folder, const QString& file) {
  TrackTable table;
  table.resize(2);
  table[1].folderPath = folder;
  table[1].fileName = file;
  table[1].listedName = file;
  return table;
}

TEST(AlbumTagReading, ReadsTheFileByItsTrimmedFolderAndName) {
  FakeTrackDetails reader;
  TrackTable table = tableOf("  /music/album/ ", " 01_Intro.mp3  ");
  readAlone(table, 1, reader);
  // Only the detail fields of that one record change.
  EXPECT_EQ(table[1].folderPath, "  /music/album/ ");
  EXPECT_EQ(table[1].fileName, " 01_Intro.mp3  ");
  EXPECT_EQ(table[0].artist, "");

  readAlone(table, 0, reader);
  EXPECT_EQ(reader.paths, (std::vector<QString>{"/music/album/01_Intro.mp3", ""}));
}

TEST(AlbumTagReading, StoresTextsByTheBlankAndQuoteRules) {
  struct Case {
    QString shown;   // what each of the four details holds
    QString artist;  // what is stored
    QString title;
    QString album;
    QString duration;
    bool tagged = true;  // artist and album title
  };
  const Case cases[] = {
      {"", kNoArtist, kNoTitle, kNoAlbumTitle, "", false},
      {"   ", kNoArtist, kNoTitle, kNoAlbumTitle, "   ", false},
      {R"( Say "Hi" )", " Say 'Hi' ", " Say 'Hi' ", " Say 'Hi' ", R"( Say "Hi" )"},
      {"\"", "'", "'", "'", "\""},
      {"It's", "It's", "It's", "It's", "It's"},
      {u"\u3000"_s, u"\u3000"_s, u"\u3000"_s, u"\u3000"_s, u"\u3000"_s},  // only U+0020 is blank
      {"\t", "\t", "\t", "\t", "\t"},
      // A tag that spells a default text is still a tag.
      {kNoAlbumTitle, kNoAlbumTitle, kNoAlbumTitle, kNoAlbumTitle, kNoAlbumTitle},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shown.toStdString());
    FakeTrackDetails reader;
    reader.details = {c.shown, c.shown, c.shown, c.shown};
    TrackTable table = tableOf("/a/", "x.mp3");
    readAlone(table, 1, reader);
    EXPECT_EQ(table[1].artist, c.artist);
    EXPECT_EQ(table[1].title, c.title);
    EXPECT_EQ(table[1].albumTitle, c.album);
    EXPECT_EQ(table[1].duration, c.duration);
    EXPECT_EQ(table[1].artistTagged, c.tagged);
    EXPECT_EQ(table[1].albumTitleTagged, c.tagged);
  }
}

TEST(AlbumTagReading, EachDetailGoesToItsField) {
  FakeTrackDetails reader;
  reader.details = {
      .title = u"Title"_s, .artist = u"Artist"_s, .albumTitle = u"Album"_s, .playTime = "0:03:25"};
  TrackTable table = tableOf("/a/", "x.mp3");
  readAlone(table, 1, reader);
  EXPECT_EQ(table[1].artist, "Artist");
  EXPECT_EQ(table[1].title, "Title");
  EXPECT_EQ(table[1].albumTitle, "Album");
  EXPECT_EQ(table[1].duration, "0:03:25");
}

TEST(AlbumTagReading, ErrorsReachTheCaller) {
  FakeTrackDetails reader;
  reader.onRead = [](const QString&) { throw RuntimeError(ErrorCode::kPathNotFound); };
  TrackTable table = tableOf("/missing/", "x.mp3");
  EXPECT_EQ(errorOf([&] { readAlone(table, 1, reader); }).number(), 76);
  EXPECT_EQ(table[1].artist, "");

  EXPECT_EQ(errorOf([&] { readAlone(table, 2, reader); }).number(), 9);
}

// With the program's own reader, on real files.
TEST(AlbumTagReading, RealFiles) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString folder = dir.path() + "/";
  const QByteArray mp3 = test::encodeMp3(test::pcm(44100, 2, 3.5), 44100, 2, {"-V", "4"});
  test::writeFile(
      folder + "tagged.mp3",
      test::id3v2Tag(3, {test::textFrame("TIT2", R"( "Live" )", test::Id3Encoding::kUtf16),
                         test::textFrame("TPE1", "   ", test::Id3Encoding::kUtf16)}) +
          mp3 + test::id3v1Tag({}, {}, test::sjis(u"アルバム"_s)));
  test::writeFile(folder + "plain.mp3", mp3);

  platform::TagLibTrackDetails reader;
  TrackTable table;
  table.resize(3);
  const QString names[] = {"tagged.mp3", "plain.mp3", "gone.mp3"};
  AlbumTagReading reading;
  for (int i = 0; i < 3; ++i) {
    table[i].folderPath = folder;
    table[i].fileName = names[i];
    reading.read(table, i, reader);
  }
  reading.store(table);
  EXPECT_EQ(table[0].artist, kNoArtist);
  EXPECT_EQ(table[0].title, " 'Live' ");
  EXPECT_EQ(table[0].albumTitle, u"アルバム"_s);
  EXPECT_EQ(table[0].duration, "0:00:03");

  EXPECT_EQ(table[1].artist, kNoArtist);
  EXPECT_EQ(table[1].title, kNoTitle);
  EXPECT_EQ(table[1].albumTitle, kNoAlbumTitle);
  EXPECT_EQ(table[1].duration, "0:00:03");

  EXPECT_EQ(table[2].title, kNoTitle);  // no such file: defaults, no play time
  EXPECT_EQ(table[2].duration, "");

  table[0].folderPath = folder + "missing/";
  EXPECT_EQ(errorOf([&] { readAlone(table, 0, reader); }).number(), 76);
}

// On real files: the album's 8-bit texts wait for its last track and are then read
// together, "넬" as the Korean of the album around it (alone: ｳﾚ), in ID3v2 frames and
// ID3v1 fields alike; the blank test and the defaults see the texts as read. With the
// user's encoding they are read in that.
TEST(AlbumTagReading, TheAlbumDecidesHowItsEightBitTextsRead) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const auto cp949 = [](const QString& text) {
    return test::tagBytes({test::TextLabel::kCp949, text, {}, {}});
  };
  const QByteArray mp3 = test::encodeMp3(test::pcm(22050, 1, 1.0), 22050, 1, {"-b", "32"});
  const QString nell = u"넬"_s;
  test::writeFile(dir.filePath("1.mp3"),
                  test::id3v2Tag(3, {test::rawLatin1Frame("TIT2", cp949(nell)),
                                     test::rawLatin1Frame("TPE1", cp949(nell))}) +
                      mp3);
  test::writeFile(
      dir.filePath("2.mp3"),
      test::id3v2Tag(3, {test::rawLatin1Frame("TIT2", cp949(u"기억을 걷는 시간"_s))}) + mp3);
  test::writeFile(dir.filePath("3.mp3"),
                  mp3 + test::id3v1Tag(cp949(u"멀어지다"_s), cp949(nell), "   "));
  platform::TagLibTrackDetails reader;
  for (const auto forced : {std::optional<text::TextEncoding>(), text::encodingNamed(u"sjis"_s)}) {
    SCOPED_TRACE(forced ? "forced" : "the album's own");
    TrackTable table;
    table.resize(3);
    AlbumTagReading reading(forced);
    for (int i = 0; i < 3; ++i) {
      table[i].folderPath = dir.path() + u'/';
      table[i].fileName = QString::number(i + 1) + u".mp3"_s;
      reading.read(table, i, reader);
      EXPECT_EQ(table[i].title, "");  // not yet
      EXPECT_EQ(table[i].duration, "0:00:01");
    }
    const text::AlbumVerdict verdict = reading.store(table);
    EXPECT_EQ(verdict.forced, forced.has_value());
    if (forced) {
      EXPECT_EQ(verdict.encoding, forced);
      EXPECT_EQ(table[0].title, u"ｳﾚ"_s);
      continue;
    }
    EXPECT_EQ(verdict.encoding->name(), "euc-kr");
    EXPECT_EQ((QStringList{table[0].title, table[1].title, table[2].title}),
              (QStringList{nell, u"기억을 걷는 시간"_s, u"멀어지다"_s}));
    EXPECT_EQ((QStringList{table[0].artist, table[1].artist, table[2].artist}),
              (QStringList{nell, kNoArtist, nell}));
    EXPECT_EQ(table[2].albumTitle, kNoAlbumTitle);  // an ID3v1 field of spaces
    EXPECT_FALSE(table[2].albumTitleTagged);
  }
}

}  // namespace
}  // namespace orv
