// The album build on the real stages, real files and real tags, with fakes only for the
// window system's edge: the controls, the dialog and the message boxes.

#include "album/Build.h"
#include "tests/app/FormTest.h"

#include <QFile>

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <ostream>
#include <utility>

namespace orv::test {
namespace {

class BuildCommandTest : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    controls.statusLabel.setCaption(QStringLiteral("前回の表示"));
    form().load();
  }
};

// What the user could see, and what lay on disk, when the build let the window repaint.
struct Snapshot {
  bool buildEnabled;
  platform::Pointer pointer;
  int dialogsShown;
  QStringList files;
  std::size_t rows;
  QString firstTitle;
  QString albumTitle;
  QString status;
  bool operator==(const Snapshot&) const = default;
};

void PrintTo(const Snapshot& s, std::ostream* os) {
  *os << "{enabled " << s.buildEnabled << ", pointer " << int(s.pointer) << ", dialogs "
      << s.dialogsShown << ", files [" << s.files.join(", ").toStdString() << "], rows " << s.rows
      << ", title \"" << s.firstTitle.toStdString() << "\", album \"" << s.albumTitle.toStdString()
      << "\", status \"" << s.status.toStdString() << "\"}";
}

TEST_F(BuildCommandTest, ABuildRenamesShowsAndWritesTheAlbumRepaintingAtFivePoints) {
  addFile(QStringLiteral("01 A b.mp3"));
  addFile(QStringLiteral("02\u3000C.mp3"));
  addFile(QStringLiteral("notes.txt"));
  choose(albumPath(QStringLiteral("01 A b.mp3")));
  std::vector<Snapshot> repaints;
  windowSystem.onProcessPendingMessages = [&] {
    const auto& rows = controls.trackList.rows;
    repaints.push_back({controls.buildButton.enabled, controls.window.pointer,
                        controls.openFileDialog.shown, filesOnDisk(), rows.size(),
                        rows.empty() ? QString() : rows[0].title,
                        controls.albumTitleLabel.caption(), controls.statusLabel.caption()});
  };

  form().buildAlbum();

  const QStringList listed{"01 A b.mp3", "02\u3000C.mp3", "notes.txt"};
  const QStringList renamed{"01_A_b.mp3", "02_C.mp3", "notes.txt"};
  const QStringList written{"01_A_b.mp3", "02_C.mp3", "disk.html", "jacket.jpg", "notes.txt"};
  const platform::Pointer busy = platform::Pointer::kBusy;
  const QString before = QStringLiteral("前回の表示");
  const QString untitled = QStringLiteral("タイトル情報なし");
  const QString noAlbum = QStringLiteral("アルバムタイトルなし");
  // The status line is emptied once the build starts: no earlier success stands for it.
  EXPECT_EQ(repaints, (std::vector<Snapshot>{
                          {false, busy, 0, listed, 1, "", "", before},  // dialog not yet shown
                          {false, busy, 1, listed, 1, "", "", ""},      // dialog done
                          {false, busy, 1, renamed, 2, "", "", ""},     // files renamed, rows shown
                          {false, busy, 1, renamed, 2, untitled, noAlbum, ""},  // album shown
                          {false, busy, 1, written, 2, untitled, noAlbum, ""},  // page written
                      }));

  EXPECT_EQ(filesOnDisk(), written);
  EXPECT_EQ(controls.albumArtistLabel.caption(), QStringLiteral("アーティスト情報なし"));
  EXPECT_EQ(controls.statusLabel.caption(), QStringLiteral("htmlを作成しました"));
  EXPECT_TRUE(controls.buildButton.enabled);
  EXPECT_EQ(controls.window.pointer, platform::Pointer::kDefault);
  EXPECT_TRUE(windowSystem.messageBoxes.empty());
}

TEST_F(BuildCommandTest, ACancelChangesNothingOnScreenOrOnDisk) {
  addFile(QStringLiteral("a b.mp3"));
  choose(albumPath(QStringLiteral("a b.mp3")));
  form().buildAlbum();
  const QStringList filesAfterBuild = filesOnDisk();
  addFile(QStringLiteral("c d.mp3"));
  cancel();

  form().buildAlbum();

  EXPECT_EQ(windowSystem.pendingMessageRuns, 5 + 2);
  EXPECT_EQ(controls.statusLabel.caption(), QStringLiteral("htmlを作成しました"));
  EXPECT_EQ(controls.trackList.rows.size(), 1u);
  QStringList expected = filesAfterBuild + QStringList{"c d.mp3"};
  expected.sort();
  EXPECT_EQ(filesOnDisk(), expected);
  EXPECT_TRUE(controls.buildButton.enabled);
  EXPECT_EQ(controls.window.pointer, platform::Pointer::kDefault);
  EXPECT_TRUE(windowSystem.messageBoxes.empty());
}

TEST_F(BuildCommandTest, AFolderWithoutMp3FilesEndsTheBuildAfterItsMessage) {
  controls.statusLabel.setCaption(MainForm::kDoneMessage);  // as an earlier build left it
  choose(albumPath(QStringLiteral("typed-but-missing.mp3")));

  form().buildAlbum();

  ASSERT_EQ(windowSystem.messageBoxes.size(), 1u);
  EXPECT_EQ(windowSystem.messageBoxes[0].text, album::kNoMp3FilesMessage);
  EXPECT_EQ(windowSystem.messageBoxes[0].icon, platform::MessageIcon::kNone);
  EXPECT_TRUE(windowSystem.messageBoxes[0].title.isEmpty());
  EXPECT_EQ(controls.statusLabel.caption(), QString());
  EXPECT_EQ(controls.trackList.rows, std::vector<platform::ListedTrack>(1));
  EXPECT_FALSE(QFile::exists(albumPath(QStringLiteral("disk.html"))));
  EXPECT_TRUE(controls.buildButton.enabled);
  EXPECT_EQ(controls.window.pointer, platform::Pointer::kDefault);
  EXPECT_FALSE(controls.window.unloaded);
}

TEST_F(BuildCommandTest, ASecondBuildReplacesEverythingTheFirstShowed) {
  for (int i = 1; i <= 10; ++i) addFile(QStringLiteral("t%1.mp3").arg(i, 2, 10, QChar(u'0')));
  choose(albumPath(QStringLiteral("t01.mp3")));
  form().buildAlbum();
  ASSERT_EQ(controls.trackList.rows.size(), 10u);
  QTemporaryDir second;
  writeFile(second.path() + QStringLiteral("/only one.mp3"));
  controls.statusLabel.setCaption({});
  choose(second.path() + QStringLiteral("/only one.mp3"));

  form().buildAlbum();

  EXPECT_EQ(controls.trackList.rows.size(), 1u);
  EXPECT_EQ(controls.statusLabel.caption(), QStringLiteral("htmlを作成しました"));
  EXPECT_TRUE(QFile::exists(second.path() + QStringLiteral("/only_one.mp3")));
  EXPECT_TRUE(QFile::exists(second.path() + QStringLiteral("/disk.html")));
}

// A page that would not change is not written again: backups and syncs see nothing new.
// The window tells the build as ever.
TEST_F(BuildCommandTest, ARebuildOfAnUnchangedAlbumLeavesItsPageAsItWas) {
  addFile(QStringLiteral("a.mp3"));
  choose(albumPath(QStringLiteral("a.mp3")));
  form().buildAlbum();
  const auto identity = [&] {
    struct stat st {};
    ::stat(QFile::encodeName(albumPath(QStringLiteral("disk.html"))).constData(), &st);
    return std::pair(st.st_ino, st.st_mtim.tv_nsec + st.st_mtim.tv_sec * 1'000'000'000);
  };
  const auto written = identity();
  controls.statusLabel.setCaption({});
  choose(albumPath(QStringLiteral("a.mp3")));

  form().buildAlbum();

  EXPECT_EQ(identity(), written);
  EXPECT_EQ(controls.statusLabel.caption(), QStringLiteral("htmlを作成しました"));
}

TEST_F(BuildCommandTest, ACloseDuringTheBuildWaitsUntilThePageIsWritten) {
  addFile(QStringLiteral("a b.mp3"));
  choose(albumPath(QStringLiteral("a b.mp3")));
  int run = 0;
  windowSystem.onProcessPendingMessages = [&] {
    if (++run == 3) {  // after the grid is set up, between the renames and the page
      EXPECT_FALSE(form().queryClose());
      form().quit();
      EXPECT_FALSE(controls.window.unloaded);
    }
  };

  form().buildAlbum();

  EXPECT_TRUE(QFile::exists(albumPath(QStringLiteral("disk.html"))));
  EXPECT_EQ(controls.statusLabel.caption(), QStringLiteral("htmlを作成しました"));
  EXPECT_TRUE(controls.window.unloaded);
}

// While another build (another Orv's, or the batch's) holds the album, the window waits,
// says so and stays responsive, then builds as if started then. A close while it waits
// ends the wait and the window at once: nothing has been done.
TEST_F(BuildCommandTest, ABuildWaitsForAnotherBuildOfTheAlbumUnlessClosed) {
  addFile(QStringLiteral("a b.mp3"));
  const QString folder = album.path() + u'/';
  std::unique_ptr<platform::FolderLock> other = folderLocks.lock(folder, [] { return true; });
  choose(albumPath(QStringLiteral("a b.mp3")));
  QStringList statuses;
  windowSystem.onProcessPendingMessages = [&] {
    statuses << controls.statusLabel.caption();
    if (statuses.size() == 4) other.reset();  // the other build is done
  };

  form().buildAlbum();

  const QString before = QStringLiteral("前回の表示");
  EXPECT_EQ(statuses, (QStringList{before, "", MainForm::kWaitingMessage, MainForm::kWaitingMessage,
                                   "", "", ""}));
  EXPECT_EQ(controls.statusLabel.caption(), MainForm::kDoneMessage);
  EXPECT_TRUE(QFile::exists(albumPath(QStringLiteral("a_b.mp3"))));

  addFile(QStringLiteral("c d.mp3"));
  other = folderLocks.lock(folder, [] { return true; });
  choose(albumPath(QStringLiteral("c d.mp3")));
  windowSystem.onProcessPendingMessages = [&] {
    if (controls.statusLabel.caption() == MainForm::kWaitingMessage) form().quit();
  };

  form().buildAlbum();

  EXPECT_TRUE(controls.window.unloaded);
  EXPECT_TRUE(QFile::exists(albumPath(QStringLiteral("c d.mp3"))));
  EXPECT_TRUE(controls.buildButton.enabled);
  EXPECT_TRUE(windowSystem.messageBoxes.empty());
}

// The scan's failure: its message, OK only, with the program's title, then the end of the
// program; the renames before it stay.
TEST_F(BuildCommandTest, AScanThatFailsShowsItsMessageAndEndsTheProgram) {
  addFile(QStringLiteral("a b.mp3"));
  addFile(QStringLiteral("a_b.mp3"));
  choose(albumPath(QStringLiteral("a b.mp3")));

  EXPECT_THROW(form().buildAlbum(), test::ProgramEnded);

  ASSERT_EQ(windowSystem.messageBoxes.size(), 1u);
  EXPECT_EQ(windowSystem.messageBoxes[0].text,
            platform::renameTakenError(albumPath("a b.mp3"), albumPath("a_b.mp3")).description());
  EXPECT_EQ(windowSystem.messageBoxes[0].icon, platform::MessageIcon::kNone);
  EXPECT_TRUE(windowSystem.messageBoxes[0].title.isEmpty());
  EXPECT_EQ(windowSystem.log.back(), QStringLiteral("endProgram"));
  EXPECT_EQ(windowSystem.exitCode, 0);
  EXPECT_FALSE(QFile::exists(albumPath(QStringLiteral("disk.html"))));
}

TEST_F(BuildCommandTest, AClickWhileABuildRunsStartsNothing) {
  addFile(QStringLiteral("a.mp3"));
  choose(albumPath(QStringLiteral("a.mp3")));
  windowSystem.onProcessPendingMessages = [&] { form().buildAlbum(); };

  form().buildAlbum();

  EXPECT_EQ(controls.openFileDialog.shown, 1);
  EXPECT_EQ(windowSystem.pendingMessageRuns, 5);
  EXPECT_TRUE(controls.buildButton.enabled);
}

TEST_F(BuildCommandTest, AnErrorOutsideTheScanLeavesTheCommandForTheStandardReport) {
  addFile(QStringLiteral("a.mp3"));
  choose(albumPath(QStringLiteral("a.mp3")));
  ASSERT_TRUE(QDir(album.path()).mkdir(QStringLiteral("disk.html")));  // the page can't go there

  EXPECT_THROW(form().buildAlbum(), RuntimeError);
  EXPECT_EQ(controls.statusLabel.caption(), QString());
}

// A build that runs longer than a second counts the tracks read in the status line,
// redrawn at most every tenth of a second, until the page is written.
TEST_F(BuildCommandTest, TheStatusLineCountsTheTracksWhileALongBuildReadsThem) {
  for (int i = 1; i <= 40; ++i) addFile(QStringLiteral("t%1.mp3").arg(i, 2, 10, QChar(u'0')));
  choose(albumPath(QStringLiteral("t01.mp3")));
  millisecondsPerTrack = 40;
  QStringList statuses;
  windowSystem.onProcessPendingMessages = [&] { statuses << controls.statusLabel.caption(); };

  form().buildAlbum();

  const auto reading = [](int read) { return MainForm::readingMessage(read, 40); };
  EXPECT_EQ(reading(25), QStringLiteral("読み込み中 25 / 40 曲"));
  EXPECT_EQ(statuses,
            (QStringList{"前回の表示", "", reading(25), reading(28), reading(31), reading(34),
                         reading(37), reading(40), reading(40), reading(40), reading(40)}));
  EXPECT_EQ(controls.statusLabel.caption(), MainForm::kDoneMessage);
}

}  // namespace
}  // namespace orv::test
