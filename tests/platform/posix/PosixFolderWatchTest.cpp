// Folder trees followed on inotify: which folders each change tells, hidden folders and
// links to folders not followed, the system's limit met, and a wait woken by the
// interruption's descriptor.

#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixFolderWatch.h"

#include "tests/support/Files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <set>
#include <thread>

namespace orv::platform {
namespace {

using namespace std::chrono_literals;
using test::writeFile;

class PosixFolderWatchTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(::pipe2(wake, O_CLOEXEC), 0);
    ASSERT_TRUE(QDir().mkpath(root + "Album") && QDir().mkpath(root + "Artist/Album 2") &&
                QDir().mkpath(root + ".hidden"));
    writeFile(root + "Album/1.mp3", "track");
    ASSERT_TRUE(QFile::link(root + "Artist", root + "Link"));
  }
  void TearDown() override {
    ::close(wake[0]);
    ::close(wake[1]);
  }

  // What the watch tells in the waits after `act`, until it has been quiet a while:
  // folders relative to the root.
  std::set<QString> toldAfter(FolderWatch& watch, const std::function<void()>& act) {
    act();
    std::set<QString> told;
    for (;;) {
      const FolderChanges changes = watch.wait(FolderWatch::Clock::now() + 300ms);
      if (changes.empty()) return told;
      for (const QString& folder : changes.folders) told.insert(folder.sliced(root.size()));
    }
  }

  QTemporaryDir dir;
  const QString root = dir.path() + u'/';
  PosixFileSystem fileSystem;
  int wake[2] = {-1, -1};
};

TEST_F(PosixFolderWatchTest, EachChangeTellsTheFoldersItTouched) {
  const struct {
    const char* what;
    std::function<void()> act;
    std::set<QString> told;
  } cases[] = {
      {"a track written", [&] { writeFile(root + "Album/1.mp3", "retagged"); }, {"Album/"}},
      {"a time set back",
       [&] {
         const timespec times[] = {{0, 0}, {0, 0}};
         ::utimensat(AT_FDCWD, QFile::encodeName(root + "Album/1.mp3").constData(), times, 0);
       },
       {"Album/"}},
      {"a tree copied in",
       [&] {
         QDir().mkpath(root + "New/Disc 1");
         writeFile(root + "New/Disc 1/1.mp3", "track");
       },
       {"", "New/", "New/Disc 1/"}},
      {"a track written in the tree copied in",
       [&] { writeFile(root + "New/Disc 1/2.mp3", "track"); },
       {"New/Disc 1/"}},
      {"a folder renamed",
       [&] { QDir(root).rename("New", "Newer"); },
       {"", "New/", "Newer/", "Newer/Disc 1/"}},
      {"a file in the renamed folder", [&] { writeFile(root + "Newer/x", ""); }, {"Newer/"}},
      {"a folder removed",
       [&] { QDir(root + "Newer").removeRecursively(); },
       {"", "Newer/", "Newer/Disc 1/"}},
      {"a change in a hidden folder", [&] { writeFile(root + ".hidden/1.mp3", "track"); }, {}},
      {"a change through a link to a folder",
       [&] { writeFile(root + "Link/Album 2/1.mp3", "track"); },
       {"Artist/Album 2/"}},
  };
  PosixFolderWatch watch(fileSystem, wake[0]);
  watch.follow(root);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(toldAfter(watch, c.act), c.told);
  }
}

// Beyond the limit a folder is looked through every minute (here a fraction of a second)
// instead, and the limit is told once.
TEST_F(PosixFolderWatchTest, FoldersBeyondTheLimitAreLookedThroughAgainAndAgain) {
  PosixFolderWatch watch(fileSystem, wake[0], {.watches = 2, .rescan = 200ms});
  watch.follow(root);  // the root and "Album" are followed; "Artist" and below are not

  const FolderChanges first = watch.wait(FolderWatch::Clock::now() + 1s);
  EXPECT_EQ(first.unfollowed, 1);
  writeFile(root + "Artist/Album 2/1.mp3", "track");
  FolderChanges again;
  while (again.everythingBelow.empty()) again = watch.wait(std::nullopt);
  EXPECT_EQ(again.everythingBelow, std::vector<QString>{root + "Artist/"});
  EXPECT_EQ(again.unfollowed, 0);
}

TEST_F(PosixFolderWatchTest, AWaitWakesOnTheInterruption) {
  PosixFolderWatch watch(fileSystem, wake[0]);
  watch.follow(root);
  std::thread interrupt([&] {
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(::write(wake[1], "!", 1), 1);
  });
  EXPECT_TRUE(watch.wait(std::nullopt).empty());  // rather than waiting for ever
  interrupt.join();
}

}  // namespace
}  // namespace orv::platform
