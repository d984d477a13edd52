// The album build command on the real stages, real files and real tags, with fakes only
// for the window system's edge: the controls, the dialog and the message boxes.

#include "app/Frm010_Orv.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/taglib/TagLibDetailSource.h"
#include "tests/fakes/Fakes.h"
#include "tracks/FolderScan.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace orv {
namespace {

using test::FakeOpenFileDialog;

class BuildCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(album.isValid());
    Label6.setCaption(QStringLiteral("前回の表示"));
    form.LoadProc();
  }

  QString albumPath(const QString& name) const { return album.path() + u'/' + name; }

  void addFile(const QString& name, const QByteArray& content = "not audio") {
    QFile f(albumPath(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
  }

  QStringList filesOnDisk() const { return QDir(album.path()).entryList(QDir::Files, QDir::Name); }

  void choose(const QString& path) { CommonDialog1.answers.push_back({path}); }
  void cancel() { CommonDialog1.answers.push_back({{}, true}); }

  QTemporaryDir album;
  test::FakeWindowSystem windowSystem;
  test::FakeFormWindow window;
  test::FakeButton Command1, Command3;
  test::FakeLabel Label1{QStringLiteral("アルバム名")}, Label2{QStringLiteral("アーティスト名")};
  test::FakeLabel Label3, Label4, Label5, Label6;
  test::FakeGrid MSHFlexGrid1;
  FakeOpenFileDialog CommonDialog1;
  platform::PosixFileSystem fileSystem;
  platform::TagLibDetailSourceFactory detailSources;
  TrackTable trackTable;
  Frm010_Orv form{
      {window, Command1, Command3, Label1, Label2, Label3, Label4, Label5, Label6, MSHFlexGrid1,
       CommonDialog1},
      {windowSystem, fileSystem, detailSources, trackTable, QStringLiteral(ORV_PROGRAM_DIR "/")}};
};

TEST_F(BuildCommandTest, ABuildRenamesShowsAndWritesTheAlbumAndReturnsToIdle) {
  addFile(QStringLiteral("01 A b.mp3"));
  addFile(QStringLiteral("02\u3000C.mp3"));
  addFile(QStringLiteral("notes.txt"));
  choose(albumPath(QStringLiteral("01 A b.mp3")));
  std::vector<std::pair<bool, int>> duringBuild;  // Command1 enabled, pointer
  windowSystem.onProcessPendingMessages = [&] {
    duringBuild.emplace_back(Command1.isEnabled(), window.pointer);
  };

  form.Command1_Click();

  EXPECT_EQ(filesOnDisk(),
            (QStringList{"01_A_b.mp3", "02_C.mp3", "disk.html", "jacket.jpg", "notes.txt"}));
  EXPECT_EQ(form.trackCount, 2);
  EXPECT_EQ(form.albumFolder, album.path() + u'/');
  EXPECT_EQ(MSHFlexGrid1.rows(), 3);
  EXPECT_EQ(MSHFlexGrid1.textMatrix(2, 0), QStringLiteral("2"));
  EXPECT_EQ(MSHFlexGrid1.textMatrix(1, 4), QStringLiteral("タイトル情報なし"));
  EXPECT_EQ(Label3.caption(), QStringLiteral("アルバムタイトルなし"));
  EXPECT_EQ(Label4.caption(), QStringLiteral("アーティスト情報なし"));
  EXPECT_EQ(Label6.caption(), QStringLiteral("htmlを作成しました"));
  // Messages run at five points only, each with the button disabled and the busy pointer.
  ASSERT_EQ(duringBuild.size(), 5u);
  for (auto [enabled, pointer] : duringBuild) {
    EXPECT_FALSE(enabled);
    EXPECT_EQ(pointer, platform::kPointerHourglass);
  }
  EXPECT_TRUE(Command1.isEnabled());
  EXPECT_EQ(window.pointer, platform::kPointerDefault);
  EXPECT_TRUE(windowSystem.messageBoxes.empty());
}

TEST_F(BuildCommandTest, ACancelChangesNothingOnScreenOrOnDisk) {
  addFile(QStringLiteral("a b.mp3"));
  choose(albumPath(QStringLiteral("a b.mp3")));
  form.Command1_Click();
  const QStringList filesAfterBuild = filesOnDisk();
  const QString folderAfterBuild = form.albumFolder;
  addFile(QStringLiteral("c d.mp3"));
  cancel();

  form.Command1_Click();

  EXPECT_EQ(windowSystem.pendingMessageRuns, 5 + 2);
  EXPECT_TRUE(form.selectedPath.isEmpty());
  EXPECT_EQ(form.albumFolder, folderAfterBuild);
  EXPECT_EQ(Label6.caption(), QStringLiteral("htmlを作成しました"));
  EXPECT_EQ(MSHFlexGrid1.rows(), 2);
  EXPECT_EQ(trackTable.count(), 1);
  QStringList expected = filesAfterBuild + QStringList{"c d.mp3"};
  expected.sort();
  EXPECT_EQ(filesOnDisk(), expected);
  EXPECT_TRUE(Command1.isEnabled());
  EXPECT_EQ(window.pointer, platform::kPointerDefault);
  EXPECT_TRUE(windowSystem.messageBoxes.empty());
}

TEST_F(BuildCommandTest, AFolderWithoutMp3FilesEndsTheBuildAfterItsMessage) {
  choose(albumPath(QStringLiteral("typed-but-missing.mp3")));

  form.Command1_Click();

  ASSERT_EQ(windowSystem.messageBoxes.size(), 1u);
  EXPECT_EQ(windowSystem.messageBoxes[0].text, kNoMp3FilesMessage);
  EXPECT_EQ(windowSystem.messageBoxes[0].flags, platform::kMsgBoxOkOnly);
  EXPECT_EQ(Label6.caption(), QStringLiteral("前回の表示"));
  EXPECT_EQ(MSHFlexGrid1.rows(), 2);
  EXPECT_EQ(MSHFlexGrid1.textMatrix(1, 0), QStringLiteral("1"));
  EXPECT_FALSE(QFile::exists(albumPath(QStringLiteral("disk.html"))));
  EXPECT_TRUE(Command1.isEnabled());
  EXPECT_EQ(window.pointer, platform::kPointerDefault);
  EXPECT_FALSE(window.unloaded);
}

TEST_F(BuildCommandTest, ASecondBuildReplacesEverythingTheFirstShowed) {
  for (int i = 1; i <= 10; ++i) addFile(QStringLiteral("t%1.mp3").arg(i, 2, 10, QChar(u'0')));
  choose(albumPath(QStringLiteral("t01.mp3")));
  form.Command1_Click();
  ASSERT_EQ(MSHFlexGrid1.rows(), 11);
  QTemporaryDir second;
  QFile f(second.path() + QStringLiteral("/only one.mp3"));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.close();
  Label6.setCaption({});
  choose(second.path() + QStringLiteral("/only one.mp3"));

  form.Command1_Click();

  EXPECT_EQ(form.trackCount, 1);
  EXPECT_EQ(trackTable.count(), 1);
  EXPECT_EQ(MSHFlexGrid1.rows(), 2);
  EXPECT_EQ(MSHFlexGrid1.textMatrix(2, 4), QString());
  EXPECT_EQ(Label6.caption(), QStringLiteral("htmlを作成しました"));
  EXPECT_TRUE(QFile::exists(second.path() + QStringLiteral("/only_one.mp3")));
  EXPECT_TRUE(QFile::exists(second.path() + QStringLiteral("/disk.html")));
}

TEST_F(BuildCommandTest, ACloseDuringTheBuildWaitsUntilThePageIsWritten) {
  addFile(QStringLiteral("a b.mp3"));
  choose(albumPath(QStringLiteral("a b.mp3")));
  int run = 0;
  windowSystem.onProcessPendingMessages = [&] {
    if (++run == 3) {  // after the grid is set up, between the renames and the page
      EXPECT_FALSE(form.QueryUnload());
      form.Command3_Click();
      EXPECT_FALSE(window.unloaded);
    }
  };

  form.Command1_Click();

  EXPECT_TRUE(QFile::exists(albumPath(QStringLiteral("disk.html"))));
  EXPECT_EQ(Label6.caption(), QStringLiteral("htmlを作成しました"));
  EXPECT_TRUE(window.unloaded);
}

TEST_F(BuildCommandTest, AClickWhileABuildRunsStartsNothing) {
  addFile(QStringLiteral("a.mp3"));
  choose(albumPath(QStringLiteral("a.mp3")));
  windowSystem.onProcessPendingMessages = [&] { form.Command1_Click(); };

  form.Command1_Click();

  EXPECT_EQ(CommonDialog1.shown, 1);
  EXPECT_EQ(windowSystem.pendingMessageRuns, 5);
  EXPECT_TRUE(Command1.isEnabled());
}

TEST_F(BuildCommandTest, AnErrorOutsideTheScanLeavesTheCommandForTheStandardReport) {
  addFile(QStringLiteral("a.mp3"));
  choose(albumPath(QStringLiteral("a.mp3")));
  QFile::remove(albumPath(QStringLiteral("disk.html")));
  ASSERT_TRUE(QDir(album.path()).mkdir(QStringLiteral("disk.html")));  // the page can't go there

  EXPECT_THROW(form.Command1_Click(), RuntimeError);
  EXPECT_NE(Label6.caption(), QStringLiteral("htmlを作成しました"));
}

}  // namespace
}  // namespace orv
