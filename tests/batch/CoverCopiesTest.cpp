// The small copies of the covers beside the library page: made once, made again when a
// cover changes, removed with their album; one for the program's placeholder.

#include "batch/CoverCopies.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/qtgui/QtPictureConverter.h"
#include "tests/batch/BatchRun.h"
#include "tests/support/Files.h"
#include "tests/support/Pictures.h"
#include "tests/support/TemporaryFolder.h"

#include <QDir>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace orv::test {
namespace {

class CountingFileSystem : public platform::PosixFileSystem {
 public:
  void replaceFileAtomically(const QString& path, const QByteArray& content) override {
    ++written;
    PosixFileSystem::replaceFileAtomically(path, content);
  }
  std::atomic<int> written{0};
};

TEST(CoverCopies, MadeOnceMadeAgainForAChangedCoverRemovedWithTheirAlbum) {
  TemporaryFolder dir;
  ASSERT_TRUE(dir.isValid());
  const QString root = dir.path() + u'/';
  const QString index = root + QStringLiteral("index.html");
  const QString copies = root + QStringLiteral("index-covers/");
  const QByteArray placeholder = readFile(kProgramFolder + QStringLiteral("jacket.jpg"));
  const std::map<QString, QByteArray> jackets = {
      {"Own", imageFile(quarters(1000), "jpeg")},  // 320 and 640 px
      {"Small", imageFile(quarters(200), "png")},  // 200 px alone
      {"Placeholder 1", placeholder},              // one copy for both
      {"Placeholder 2", placeholder},
      {"Broken", "not a picture"},  // the cover itself on the page
  };
  for (const auto& [album, jacket] : jackets) {
    ASSERT_TRUE(QDir().mkpath(root + album));
    writeFile(root + album + QStringLiteral("/jacket.jpg"), jacket);
  }
  ASSERT_TRUE(QDir().mkpath(root + QStringLiteral("No cover")));
  ASSERT_TRUE(QDir().mkpath(copies));
  writeFile(copies + QStringLiteral("mine.jpg"), "the user's own file");

  platform::QtPictureConverter pictures;
  const auto run = [&](const QStringList& albums, int expectWritten) {
    QJsonArray cards;
    for (const QString& album : albums) cards.append(QJsonObject{{"folder", album}});
    CountingFileSystem fileSystem;
    batch::CoverCopies(fileSystem, pictures, kProgramFolder, 3).giveCards(index, cards);
    EXPECT_EQ(fileSystem.written, expectWritten);
    std::map<QString, QJsonObject> byAlbum;
    for (const QJsonValue& card : cards) byAlbum[card["folder"].toString()] = card.toObject();
    return byAlbum;
  };
  const auto files = [&] { return QDir(copies).entryList(QDir::Files, QDir::Name); };
  const auto copy = [&](const QJsonObject& card, const char* suffix) {
    return readFile(copies + card["cover"].toString() + QString::fromLatin1(suffix));
  };

  const QStringList all{"Own", "Small", "Placeholder 1", "Placeholder 2", "Broken", "No cover"};
  auto cards = run(all, 5);
  EXPECT_TRUE(looksLike(copy(cards["Own"], ".jpg"), quarters(320)));
  EXPECT_TRUE(looksLike(copy(cards["Own"], "@2x.jpg"), quarters(640)));
  EXPECT_EQ(cards["Own"]["cover2x"], true);
  EXPECT_TRUE(looksLike(copy(cards["Small"], ".jpg"), quarters(200)));
  EXPECT_FALSE(cards["Small"].contains("cover2x"));
  EXPECT_TRUE(cards["Placeholder 1"]["cover"].toString().startsWith("placeholder-"));
  EXPECT_EQ(cards["Placeholder 1"], (QJsonObject{{"folder", "Placeholder 1"},
                                                 {"cover", cards["Placeholder 2"]["cover"]},
                                                 {"cover2x", true}}));
  EXPECT_EQ(cards["Broken"], (QJsonObject{{"folder", "Broken"}}));
  EXPECT_EQ(cards["No cover"], (QJsonObject{{"folder", "No cover"}}));
  EXPECT_EQ(files().size(), 6);  // five copies and the user's own file
  const QStringList firstFiles = files();

  // Again: nothing is made; each card names the same copies.
  EXPECT_EQ(run(all, 0), cards);
  EXPECT_EQ(files(), firstFiles);

  // A cover written anew gets a copy of its own; its old copies go.
  writeFile(root + QStringLiteral("Own/jacket.jpg"), imageFile(quarters(1000).mirrored(), "jpeg"));
  const auto changed = run(all, 2);
  EXPECT_NE(changed.at("Own")["cover"], cards["Own"]["cover"]);
  EXPECT_TRUE(looksLike(copy(changed.at("Own"), ".jpg"), quarters(320).mirrored()));
  EXPECT_FALSE(files().contains(cards["Own"]["cover"].toString() + ".jpg"));
  EXPECT_EQ(files().size(), 6);

  // Albums no longer on the page take their copies with them; the user's file stays.
  const auto fewer = run({"Own", "Placeholder 2"}, 0);
  EXPECT_EQ(files(), (QStringList{changed.at("Own")["cover"].toString() + ".jpg",
                                  changed.at("Own")["cover"].toString() + "@2x.jpg", "mine.jpg",
                                  fewer.at("Placeholder 2")["cover"].toString() + ".jpg",
                                  fewer.at("Placeholder 2")["cover"].toString() + "@2x.jpg"}));
  // Stopped (Ctrl-C) before it starts a card: nothing made, nothing removed.
  const QStringList kept = files();
  writeFile(root + QStringLiteral("Own/jacket.jpg"), imageFile(quarters(500), "jpeg"));
  QJsonArray stopped{QJsonObject{{"folder", "Own"}}};
  CountingFileSystem fileSystem;
  batch::CoverCopies(fileSystem, pictures, kProgramFolder, 1, [] {
    return false;
  }).giveCards(index, stopped);
  EXPECT_EQ(fileSystem.written, 0);
  EXPECT_EQ(files(), kept);
  run({}, 0);
  EXPECT_EQ(files(), QStringList{"mine.jpg"});
}

// A page inside the library has its copies there too, which are no folder of the
// library: a later -r run doesn't count them as a folder without MP3 files (lib itself is
// the one).
TEST(CoverCopies, TheirFolderInTheLibraryIsNoFolderOfIt) {
  TemporaryFolder dir;
  ASSERT_TRUE(dir.isValid());
  ASSERT_TRUE(QDir().mkpath(dir.path() + QStringLiteral("/lib/A")));
  writeFile(dir.path() + QStringLiteral("/lib/A/1.mp3"), track(QStringLiteral("One"), "A"));
  const QStringList arguments{"-r", "--covers", "--index", "lib/index.html", "lib"};
  for (int run = 0; run < 2; ++run) {
    const Ran ran = orv(arguments, dir.path());
    EXPECT_EQ(ran.exitCode, 0) << ran.err.toStdString();
    EXPECT_TRUE(ran.err.contains(QStringLiteral("スキップ 1（"))) << ran.err.toStdString();
  }
  EXPECT_TRUE(QDir(dir.path() + QStringLiteral("/lib/index-covers")).exists());
}

TEST(CoverCopies, TheirFolderIsNamedAfterThePage) {
  EXPECT_EQ(batch::coverCopiesFolder("/m/index.html"), "/m/index-covers/");
  EXPECT_EQ(batch::coverCopiesFolder("/m/my.library.htm"), "/m/my.library-covers/");
  EXPECT_EQ(batch::coverCopiesFolder("/m.d/page"), "/m.d/page-covers/");
  EXPECT_EQ(batch::coverCopiesFolder("/m/.hidden"), "/m/.hidden-covers/");
}

}  // namespace
}  // namespace orv::test
