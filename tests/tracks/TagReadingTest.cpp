#include "tracks/TagReading.h"

#include "core/RuntimeError.h"
#include "platform/taglib/TagLibTrackDetails.h"
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

}  // namespace
}  // namespace orv
