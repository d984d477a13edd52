#include "tracks/TagReading.h"

#include "platform/RuntimeError.h"
#include "platform/taglib/TagLibDetailSource.h"
#include "tests/mp3/Mp3Files.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

namespace orv {
namespace {

using namespace Qt::StringLiterals;

// A detail source that answers from a table and writes down what it was asked, in order.
struct Log {
  std::vector<QString> calls;
};

class FakeItem : public platform::DetailItem {
 public:
  explicit FakeItem(Log& log) : log_(log) {}
  ~FakeItem() override { log_.calls.push_back("release item"); }

 private:
  Log& log_;
};

class FakeFolder : public platform::DetailFolder {
 public:
  FakeFolder(Log& log, const std::map<int, QString>& columns) : log_(log), columns_(columns) {}
  ~FakeFolder() override { log_.calls.push_back("release folder"); }
  std::unique_ptr<platform::DetailItem> ParseName(const QString& name) override {
    log_.calls.push_back("ParseName " + name);
    return std::make_unique<FakeItem>(log_);
  }
  QString GetDetailsOf(const platform::DetailItem* item, int column) override {
    log_.calls.push_back(QString("GetDetailsOf %1%2").arg(column).arg(item ? "" : " null"));
    const auto it = columns_.find(column);
    return it == columns_.end() ? QString() : it->second;
  }

 private:
  Log& log_;
  std::map<int, QString> columns_;
};

class FakeSource : public platform::DetailSource {
 public:
  FakeSource(Log& log, const std::map<int, QString>& columns) : log_(log), columns_(columns) {}
  ~FakeSource() override { log_.calls.push_back("release source"); }
  std::unique_ptr<platform::DetailFolder> NameSpace(const QString& folder) override {
    log_.calls.push_back("NameSpace " + folder);
    if (folder.contains("missing")) throw RuntimeError(ErrorCode::kPathNotFound);
    return std::make_unique<FakeFolder>(log_, columns_);
  }

 private:
  Log& log_;
  std::map<int, QString> columns_;
};

class FakeFactory : public platform::DetailSourceFactory {
 public:
  Log log;
  std::map<int, QString> columns;
  int created = 0;
  std::unique_ptr<platform::DetailSource> create() override {
    ++created;
    log.calls.push_back("create");
    return std::make_unique<FakeSource>(log, columns);
  }
};

TrackTable tableOf(const QString& folder, const QString& file) {
  TrackTable table;
  table.resize(2);
  table[1].folderPath = folder;
  table[1].fileName = file;
  table[1].listedName = file;
  return table;
}

TEST(ReadTrackTags, AsksTheTrimmedNamesForColumns16_10_17_21AndReleasesEverything) {
  FakeFactory factory;
  TrackTable table = tableOf("  /music/album/ ", " 01_Intro.mp3  ");
  ReadTrackTags(table, 1, factory);
  const std::vector<QString> expected = {
      "create",          "NameSpace /music/album/", "ParseName 01_Intro.mp3", "GetDetailsOf 16",
      "GetDetailsOf 10", "GetDetailsOf 17",         "GetDetailsOf 21",        "release item",
      "release folder",  "release source"};
  EXPECT_EQ(factory.log.calls, expected);
  // Only the four detail fields of that one record change.
  EXPECT_EQ(table[1].folderPath, "  /music/album/ ");
  EXPECT_EQ(table[1].fileName, " 01_Intro.mp3  ");
  EXPECT_EQ(table[0].artist, "");
}

TEST(ReadTrackTags, EachCallUsesANewSource) {
  FakeFactory factory;
  TrackTable table = tableOf("/a/", "x.mp3");
  ReadTrackTags(table, 1, factory);
  ReadTrackTags(table, 0, factory);
  EXPECT_EQ(factory.created, 2);
}

TEST(ReadTrackTags, StoresTextsByTheBlankAndQuoteRules) {
  struct Case {
    QString shown;   // what each of the four columns answers
    QString artist;  // what is stored
    QString title;
    QString album;
    QString duration;
  };
  const Case cases[] = {
      {"", kNoArtist, kNoTitle, kNoAlbumTitle, ""},
      {"   ", kNoArtist, kNoTitle, kNoAlbumTitle, "   "},
      {R"( Say "Hi" )", " Say 'Hi' ", " Say 'Hi' ", " Say 'Hi' ", R"( Say "Hi" )"},
      {"\"", "'", "'", "'", "\""},
      {"It's", "It's", "It's", "It's", "It's"},
      {u"\u3000"_s, u"\u3000"_s, u"\u3000"_s, u"\u3000"_s, u"\u3000"_s},  // only U+0020 is blank
      {"\t", "\t", "\t", "\t", "\t"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shown.toStdString());
    FakeFactory factory;
    factory.columns = {{16, c.shown}, {10, c.shown}, {17, c.shown}, {21, c.shown}};
    TrackTable table = tableOf("/a/", "x.mp3");
    ReadTrackTags(table, 1, factory);
    EXPECT_EQ(table[1].artist, c.artist);
    EXPECT_EQ(table[1].title, c.title);
    EXPECT_EQ(table[1].albumTitle, c.album);
    EXPECT_EQ(table[1].duration, c.duration);
  }
}

TEST(ReadTrackTags, EachColumnGoesToItsField) {
  FakeFactory factory;
  factory.columns = {{16, "Artist"}, {10, "Title"}, {17, "Album"}, {21, "0:03:25"}};
  TrackTable table = tableOf("/a/", "x.mp3");
  ReadTrackTags(table, 1, factory);
  EXPECT_EQ(table[1].artist, "Artist");
  EXPECT_EQ(table[1].title, "Title");
  EXPECT_EQ(table[1].albumTitle, "Album");
  EXPECT_EQ(table[1].duration, "0:03:25");
}

TEST(ReadTrackTags, ErrorsReachTheCaller) {
  FakeFactory factory;
  TrackTable table = tableOf("/missing/", "x.mp3");
  try {
    ReadTrackTags(table, 1, factory);
    FAIL() << "no error";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.number(), 76);
  }
  EXPECT_EQ(table[1].artist, "");
  EXPECT_EQ(factory.log.calls.back(), "release source");

  try {
    ReadTrackTags(table, 2, factory);
    FAIL() << "no error";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.number(), 9);
  }
}

// With the program's own detail source, on real files.
TEST(ReadTrackTags, RealFiles) {
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

  platform::TagLibDetailSourceFactory factory;
  TrackTable table;
  table.resize(3);
  const QString names[] = {"tagged.mp3", "plain.mp3", "gone.mp3"};
  for (int i = 0; i < 3; ++i) {
    table[i].folderPath = folder;
    table[i].fileName = names[i];
    ReadTrackTags(table, i, factory);
  }
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
  try {
    ReadTrackTags(table, 0, factory);
    FAIL() << "no error";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.number(), 76);
  }
}

}  // namespace
}  // namespace orv
