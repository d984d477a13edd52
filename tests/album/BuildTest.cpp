// One album's build, shared by the window and the batch, on real folders, real locks and
// the real page writer; only the track reader answers every file alike.

#include "album/Build.h"

#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixFolderLocks.h"
#include "tests/support/Errors.h"
#include "tests/support/Fakes.h"
#include "tests/support/Files.h"
#include "tests/support/TemporaryFolder.h"
#include "tracks/FolderScan.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <type_traits>

namespace orv::album {
namespace {

const QString kProgramFolder = QStringLiteral(ORV_PROGRAM_DIR "/");

// An outcome in one line: "built 2 410000", "no album: …", "failed scan 58 2: …",
// "abandoned".
QString told(const Outcome& outcome) {
  return std::visit(
      [](const auto& o) -> QString {
        using O = std::decay_t<decltype(o)>;
        if constexpr (std::is_same_v<O, Built>) {
          return QStringLiteral("built %1 %2")
              .arg(o.album.tracks.value())
              .arg(o.album.milliseconds);
        } else if constexpr (std::is_same_v<O, NoAlbum>) {
          return QStringLiteral("no album: ") + o.message;
        } else if constexpr (std::is_same_v<O, Failed>) {
          return QStringLiteral("failed %1 %2 %3: %4")
              .arg(o.stage == Failed::Stage::kScan ? "scan" : "page")
              .arg(o.error.number())
              .arg(o.album.tracks.value())
              .arg(o.message);
        } else {
          return QStringLiteral("abandoned");
        }
      },
      outcome);
}

// What the build's events saw, in order.
struct RecordedEvents : Events {
  QStringList log;
  std::function<bool()> onWait = [] { return true; };
  bool keepWaiting(bool first) override {
    log << (first ? QStringLiteral("wait") : QStringLiteral("wait more"));
    return onWait();
  }
  void waitOver() override { log << QStringLiteral("wait over"); }
  std::function<void(Int16 read)> onTrackRead = [](Int16) {};
  void trackRead(Int16 read, Int16 count) override {
    log << QStringLiteral("read %1/%2").arg(read.value()).arg(count.value());
    onTrackRead(read);
  }
  void tracksRead(const TrackTable& table, Int16 count) override {
    log << QStringLiteral("tracks %1, %2").arg(count.value()).arg(table[0].fileName);
  }
};

class AlbumBuildTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    trackDetails.details.playTime = QStringLiteral("0:03:25");
  }

  QString folder() const { return dir.path() + QStringLiteral("/album/"); }
  // A fresh album folder holding `names`, each file with its name as its content.
  void makeAlbum(const QStringList& names) {
    ASSERT_TRUE(test::removeTree(folder()));
    ASSERT_TRUE(QDir().mkpath(folder()));
    for (const QString& name : names) test::writeFile(folder() + name, name.toUtf8());
  }
  QStringList filesOnDisk() const {
    return QDir(folder()).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
  }
  Outcome build(const QString& programFolder = kProgramFolder) {
    return album::build(folder(), {fileSystem, trackDetails, folderLocks, programFolder}, events);
  }

  test::TemporaryFolder dir;
  platform::PosixFileSystem fileSystem;
  test::FakeTrackDetails trackDetails;
  platform::PosixFolderLocks folderLocks;
  RecordedEvents events;
};

TEST_F(AlbumBuildTest, EveryWayABuildEndsIsAnOutcome) {
  const QString a = folder();
  const auto failTags = [&](std::function<void()> fail) {
    trackDetails.onRead = [fail](const QString&) { fail(); };
  };
  const struct {
    const char* what;
    QStringList files;
    std::function<void()> prepare;
    QString programFolder;
    QString outcome;
    QStringList after;  // the files then; empty: as before
  } cases[] = {
      {"built",
       {"b b.mp3", "a.mp3"},
       [] {},
       kProgramFolder,
       "built 2 410000",
       {"a.mp3", "b_b.mp3", "disk.html", "jacket.jpg"}},
      {"no MP3 file", {"a.wav"}, [] {}, kProgramFolder, "no album: " + kNoMp3FilesMessage, {}},
      {"a name that is not UTF-8",
       {"a b.mp3"},
       [&] { test::writeFileAt(QFile::encodeName(a) + "bad\xff.mp3"); },
       kProgramFolder,
       "failed scan 53 0: " + kSpecialCharacterMessage,
       {}},
      {"a new name taken",
       {"a b.mp3", "a_b.mp3"},
       [] {},
       kProgramFolder,
       "failed scan 58 2: " +
           platform::renameTakenError(a + "a b.mp3", a + "a_b.mp3").description(),
       {}},
      {"tag reading meets a missing file",
       {"a b.mp3"},
       [&] { failTags([] { throw RuntimeError(ErrorCode::kFileNotFound); }); },
       kProgramFolder,
       "failed scan 53 1: " + kSpecialCharacterMessage,
       {"a_b.mp3"}},
      {"a fault in tag reading",
       {"a.mp3"},
       [&] { failTags([] { throw std::out_of_range("bad index"); }); },
       kProgramFolder,
       "failed scan 51 1: 内部エラーが発生しました（bad index）。",
       {}},
      {"a folder in the page's place",
       {"a.mp3"},
       [&] { ASSERT_TRUE(QDir(a).mkdir("disk.html")); },
       kProgramFolder,
       QStringLiteral("failed page 75 1: ファイル %1disk.html を書き込めません（%2）")
           .arg(a, QString::fromLocal8Bit(std::strerror(EISDIR))),
       {}},
      // Not the scan's message for 53: the page writer's own.
      {"a template missing",
       {"a.mp3"},
       [] {},
       dir.path() + "/empty/",
       "failed page 53 1: ページのひな形 head.txt がプログラムのフォルダーにありません。" +
           test::errorOf([&] {
             fileSystem.readFile(dir.path() + "/empty/head.txt");
           }).description(),
       {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    makeAlbum(c.files);
    trackDetails.onRead = [](const QString&) {};
    c.prepare();
    const QStringList before = filesOnDisk();

    EXPECT_EQ(told(build(c.programFolder)).toStdString(), c.outcome.toStdString());
    EXPECT_EQ(filesOnDisk().join(u'|').toStdString(),
              (c.after.isEmpty() ? before : c.after).join(u'|').toStdString());
  }
}

// The page lists the tracks in the order of the names they have once renamed, as the
// folder lists them then: the first build, a rebuild, and a build after one cut off
// between its renames write the same page.
TEST_F(AlbumBuildTest, TracksAreInTheOrderOfTheirNewNames) {
  const struct {
    QStringList files;
    QStringList order;
  } cases[] = {
      // " " lists before "-", "_" after it.
      {{"a b.mp3", "a-c.mp3"}, {"a-c.mp3", "a_b.mp3"}},
      {{"x\u3000y.mp3", "x-z.mp3", "xa.mp3"}, {"x-z.mp3", "xa.mp3", "x_y.mp3"}},
      // Letter case aside; then by the names' own code units.
      {{"b.mp3", "B.mp3", "a b.MP3", "A_a.mp3"}, {"A_a.mp3", "a_b.MP3", "B.mp3", "b.mp3"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.files.join(", ").toStdString());
    QByteArray firstPage;
    for (const char* build : {"first", "again", "after a cut-off"}) {
      SCOPED_TRACE(build);
      if (QByteArray(build) == "first") makeAlbum(c.files);
      if (QByteArray(build) == "after a cut-off") {
        makeAlbum(c.files);
        const QString renamed = c.files.first();
        QFile::rename(folder() + renamed, folder() + QString(renamed).replace(u' ', u'_'));
      }
      const Outcome outcome = this->build();
      const auto* built = std::get_if<Built>(&outcome);
      ASSERT_NE(built, nullptr) << told(outcome).toStdString();
      QStringList order;
      for (Int16 i = 0; i < built->table.count(); ++i) order << built->table[i].fileName;
      EXPECT_EQ(order, c.order);
      const QByteArray page = test::readFile(folder() + "disk.html");
      if (firstPage.isEmpty()) firstPage = page;
      EXPECT_EQ(page, firstPage);
    }
  }
}

// What a killed build left goes; files of the user's with similar names stay.
TEST_F(AlbumBuildTest, ABuildRemovesTheTemporaryFilesAKilledBuildLeft) {
  const QStringList leftovers{".disk.html.orv-0k3j5x9b2m1qz", ".jacket.jpg.orv-1a2b3c4d"};
  const QStringList users{".disk.html.orv-backup",        ".disk.html.orv-0K3J5X9B2M1QZ",
                          "disk.html.orv-0k3j5x9b2m1qz",  ".disk.html.orv-0k3j5x9b2m1qz0",
                          ".notes.txt.orv-0k3j5x9b2m1qz", ".disk.htm.orv-0k3j5x9b2m1qz"};
  makeAlbum(QStringList{"a b.mp3"} + leftovers + users);
  ASSERT_TRUE(QDir(folder()).mkdir(".disk.html.orv-0k3j5x9b2m1qy"));  // a folder, not a file
  ASSERT_TRUE(QFile::link("a b.mp3", folder() + ".jacket.jpg.orv-0k3j5x9b2m1qy"));

  EXPECT_EQ(told(build()), "built 1 205000");

  QStringList expected =
      users + QStringList{".disk.html.orv-0k3j5x9b2m1qy", ".jacket.jpg.orv-0k3j5x9b2m1qy",
                          "a_b.mp3", "disk.html", "jacket.jpg"};
  expected.sort();
  EXPECT_EQ(filesOnDisk(), expected);
}

// A build waits while another holds the album, then runs as if started then; or gives
// the wait up before anything is done.
TEST_F(AlbumBuildTest, ABuildWaitsForAnotherBuildOfTheAlbum) {
  makeAlbum({"a b.mp3"});
  std::unique_ptr<platform::FolderLock> other = folderLocks.lock(folder(), [] { return true; });
  int waits = 0;
  events.onWait = [&] {
    if (++waits == 3) other.reset();  // the other build is done
    return true;
  };
  EXPECT_EQ(told(build()), "built 1 205000");
  EXPECT_EQ(events.log, (QStringList{"wait", "wait more", "wait more", "wait over", "read 1/1",
                                     "tracks 1, a_b.mp3"}));

  makeAlbum({"a b.mp3"});
  other = folderLocks.lock(folder(), [] { return true; });
  events.log.clear();
  events.onWait = [] { return false; };
  EXPECT_EQ(told(build()), "abandoned");
  EXPECT_EQ(events.log, QStringList{"wait"});
  EXPECT_EQ(filesOnDisk(), QStringList{"a b.mp3"});
}

// Each track read is told as it is read; what the front end's hook raises passes through
// the build, the renames before it done.
TEST_F(AlbumBuildTest, EachTrackReadIsToldAndWhatTheHookRaisesPassesThrough) {
  makeAlbum({"a a.mp3", "b b.mp3", "c c.mp3"});
  events.onTrackRead = [](Int16 read) {
    if (read == 2) throw std::runtime_error("the window is gone");
  };
  EXPECT_THROW(build(), std::runtime_error);
  EXPECT_EQ(events.log, (QStringList{"read 1/3", "read 2/3"}));
  EXPECT_EQ(filesOnDisk(), (QStringList{"a_a.mp3", "b_b.mp3", "c c.mp3"}));
}

// 32,766 MP3 files make an album; one more is no album, told before anything is renamed;
// the 32,768th file overflows the count.
TEST_F(AlbumBuildTest, AnAlbumLargerThanTheProgramCanShowIsRefused) {
  makeAlbum({});
  const QByteArray path = QFile::encodeName(folder());
  for (int i = 0; i < 32766; ++i) test::writeFileAt(path + QByteArray::number(i) + " x.mp3");
  ScanContext scan{.fileSystem = fileSystem, .trackDetails = trackDetails};
  EXPECT_EQ(CountMp3Files(folder(), scan), kLargestAlbum);

  test::writeFile(folder() + "one more.mp3");
  EXPECT_EQ(told(build()),
            "no album: フォルダーにmp3ファイルが32,767個あります。\r\n"
            "1つのアルバムで扱えるのは32,766個までです。\r\n"
            "フォルダーを分けてから、もう一度実行してください。");
  EXPECT_TRUE(trackDetails.paths.empty());
  EXPECT_TRUE(QFile::exists(folder() + "0 x.mp3"));

  test::writeFile(folder() + "one too many.mp3");
  EXPECT_EQ(told(build()), "failed scan 6 0: " + standardDescription(6));
  EXPECT_TRUE(QFile::exists(folder() + "one too many.mp3"));
}

}  // namespace
}  // namespace orv::album
