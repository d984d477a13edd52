#include "app/Frm010_Orv.h"
#include "app/Module1.h"

#include "tests/fakes/Fakes.h"
#include "tests/fakes/UnusedServices.h"

#include <gtest/gtest.h>

#include <memory>

namespace orv {
namespace {

using test::ProgramEnded;

// The main window's logic on fake controls, with services that must stay unused.
struct FakeForm {
  test::FakeWindowSystem windowSystem;
  test::FakeFormWindow window;
  test::FakeButton command1, command3;
  test::FakeLabel label1{"アルバム名"}, label2{"アーティスト名"}, label3, label4,
      label5{"ソナリス（アルバムバージョン）"}, label6;
  test::FakeGrid grid;
  test::FakeOpenFileDialog dialog;
  test::UnusedFileSystem fileSystem;
  test::UnusedDetailSources detailSources;
  TrackTable trackTable;
  std::unique_ptr<Frm010_Orv> form;
  int created = 0;

  Frm010_Orv& mainWindow() {
    if (!form) {
      ++created;
      form = std::make_unique<Frm010_Orv>(
          FormControls{window, command1, command3, label1, label2, label3, label4, label5, label6,
                       grid, dialog},
          FormServices{windowSystem, fileSystem, detailSources, trackTable, "/opt/orv/"});
    }
    return *form;
  }

  void runMain() {
    Module1::Main(windowSystem, [this]() -> Frm010_Orv& { return mainWindow(); });
  }
};

TEST(Main, FirstCopyLoadsAndShowsTheWindowThenReturns) {
  FakeForm f;
  f.runMain();
  EXPECT_EQ(f.created, 1);
  EXPECT_TRUE(f.window.shown);
  EXPECT_FALSE(f.window.unloaded);
  EXPECT_TRUE(f.windowSystem.messageBoxes.empty());
  EXPECT_TRUE(f.form->selectedPath.isEmpty());
  // The grid is prepared for one row; labels and status line as at design time.
  EXPECT_EQ(f.grid.rows(), 2);
  EXPECT_EQ(f.grid.cols(), 7);
  EXPECT_EQ(f.grid.textMatrix(1, 0), "1");
  EXPECT_EQ(f.grid.textMatrix(0, 4), "曲名");
  EXPECT_EQ(f.grid.textMatrix(0, 6), "時間");
  EXPECT_EQ(f.label3.caption(), "");
  EXPECT_EQ(f.label4.caption(), "");
  EXPECT_EQ(f.label6.caption(), "");
  EXPECT_TRUE(f.command1.isEnabled());
  EXPECT_EQ(f.window.pointer, platform::kPointerDefault);
}

TEST(Main, SecondCopyWarnsAndEndsWithoutAWindow) {
  FakeForm f;
  f.windowSystem.previousInstance = true;
  try {
    f.runMain();
    FAIL() << "the second copy must end";
  } catch (const ProgramEnded& ended) {
    EXPECT_EQ(ended.exitCode, 0);
  }
  ASSERT_EQ(f.windowSystem.messageBoxes.size(), 1u);
  const test::MessageBoxCall& box = f.windowSystem.messageBoxes[0];
  EXPECT_EQ(box.text, "すでにプログラムは動作していています。");
  EXPECT_EQ(box.flags, 48);
  EXPECT_EQ(box.title, "二重起動禁止");
  EXPECT_EQ(f.windowSystem.log, (std::vector<QString>{"messageBox", "endProgram"}))
      << "the message first, then the end";
  EXPECT_EQ(f.created, 0) << "no window is created";
  EXPECT_FALSE(f.window.shown);
}

TEST(LoadProc, EmptiesSelectedPathAndResetsTheGrid) {
  FakeForm f;
  Frm010_Orv& form = f.mainWindow();
  form.selectedPath = "/music/a/01.mp3";
  f.grid.setCols(7);
  f.grid.setRows(5);
  f.grid.setTextMatrix(4, 4, "old");
  form.LoadProc();
  EXPECT_TRUE(form.selectedPath.isEmpty());
  EXPECT_EQ(f.grid.rows(), 2);
  EXPECT_EQ(f.grid.textMatrix(1, 4), "");
  EXPECT_TRUE(f.window.shown);
}

TEST(Command3_Click, UnloadsTheWindowWithoutAQuestion) {
  FakeForm f;
  f.runMain();
  f.mainWindow().Command3_Click();
  EXPECT_TRUE(f.window.unloaded);
  EXPECT_TRUE(f.windowSystem.messageBoxes.empty());
}

TEST(Command3_Click, UnloadsAlsoWithAnAlbumOnShow) {
  FakeForm f;
  f.runMain();
  f.trackTable.resize(2);
  f.trackTable[0].title = "a";
  f.mainWindow().SetUpTrackGrid(2);
  f.mainWindow().FillTrackGrid(2);
  f.mainWindow().Command3_Click();
  EXPECT_TRUE(f.window.unloaded);
}

TEST(QueryUnload, CloseBoxClosesAtOnceWhenIdle) {
  FakeForm f;
  f.runMain();
  EXPECT_TRUE(f.mainWindow().QueryUnload());
  EXPECT_FALSE(f.window.unloaded) << "the window system closes it, not the form";
}

}  // namespace
}  // namespace orv
