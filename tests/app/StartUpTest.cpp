#include "app/Startup.h"

#include "tests/app/FormTest.h"

#include <gtest/gtest.h>

namespace orv::test {
namespace {

class StartUpTest : public FormTest {
 protected:
  void startUp() {
    StartUp(windowSystem, [this]() -> MainForm& { return form(); });
  }
};

TEST_F(StartUpTest, FirstCopyLoadsAndShowsTheWindowThenReturns) {
  startUp();
  EXPECT_EQ(formsMade, 1);
  EXPECT_TRUE(controls.window.shown);
  EXPECT_FALSE(controls.window.unloaded);
  EXPECT_TRUE(windowSystem.messageBoxes.empty());
  // One empty row in the track list; labels and status line empty.
  EXPECT_EQ(controls.trackList.rows, std::vector<platform::ListedTrack>(1));
  EXPECT_EQ(controls.albumTitleLabel.caption(), "");
  EXPECT_EQ(controls.albumArtistLabel.caption(), "");
  EXPECT_EQ(controls.statusLabel.caption(), "");
  EXPECT_TRUE(controls.buildButton.enabled);
  EXPECT_EQ(controls.window.pointer, platform::Pointer::kDefault);
}

TEST_F(StartUpTest, SecondCopyWarnsAndEndsWithoutAWindow) {
  windowSystem.previousInstance = true;
  EXPECT_THROW(startUp(), ProgramEnded);
  EXPECT_EQ(windowSystem.exitCode, 0);
  ASSERT_EQ(windowSystem.messageBoxes.size(), 1u);
  const MessageBoxCall& box = windowSystem.messageBoxes[0];
  EXPECT_EQ(box.text, "すでにプログラムは動作していています。");
  EXPECT_EQ(box.icon, platform::MessageIcon::kWarning);
  EXPECT_EQ(box.title, "二重起動禁止");
  EXPECT_EQ(windowSystem.log, (std::vector<QString>{"messageBox", "endProgram"}))
      << "the message first, then the end";
  EXPECT_EQ(formsMade, 0) << "no window is created";
  EXPECT_FALSE(controls.window.shown);
}

TEST_F(StartUpTest, QuitUnloadsTheWindowWithoutAQuestionAlsoWithAnAlbumOnShow) {
  startUp();
  form().quit();
  EXPECT_TRUE(controls.window.unloaded);

  controls.window.unloaded = false;
  addFile("a.mp3");
  choose(albumPath("a.mp3"));
  form().buildAlbum();
  ASSERT_EQ(controls.statusLabel.caption(), "htmlを作成しました");
  form().quit();
  EXPECT_TRUE(controls.window.unloaded);
  EXPECT_TRUE(windowSystem.messageBoxes.empty());
}

TEST_F(StartUpTest, CloseBoxClosesAtOnceWhenIdle) {
  startUp();
  EXPECT_TRUE(form().queryClose());
  EXPECT_FALSE(controls.window.unloaded) << "the window system closes it, not the form";
}

}  // namespace
}  // namespace orv::test
