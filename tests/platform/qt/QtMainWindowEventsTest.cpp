#include "platform/qt/QtMainWindow.h"

#include "tests/platform/qt/ScriptedEvents.h"
#include "tests/support/Fakes.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <map>

namespace orv::platform {
namespace {

using test::ScriptedEvents;

// Reports on stderr and ends the process, as the real report ends the program.
struct ReportingWindowSystem : test::FakeWindowSystem {
  void reportUnhandledError(const RuntimeError& e) override {
    std::fprintf(stderr, "reported %d: %s\n", e.number(), qPrintable(e.description()));
    std::_Exit(3);
  }
};

// The real window, shown, reporting to events with scripted answers.
struct ScriptedWindow : testing::Test {
  test::FakeWindowSystem windowSystem;
  QtMainWindow window{windowSystem};
  ScriptedEvents events;

  void SetUp() override {
    window.setEvents(&events);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  }
  void click(const char* button) {
    QTest::mouseClick(window.findChild<QWidget*>(button), Qt::LeftButton);
  }
};

TEST_F(ScriptedWindow, CloseBoxAsksQueryCloseAndRespectsNo) {
  events.onQueryClose = [] { return false; };
  EXPECT_FALSE(window.close());
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(events.queries, 1);

  events.onQueryClose = [] { return true; };
  EXPECT_TRUE(window.close());
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(events.queries, 2);
}

TEST_F(ScriptedWindow, UnloadClosesWithoutAsking) {
  events.onQueryClose = [] { return false; };
  events.onQuit = [&] { window.unload(); };
  click("quitButton");
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(events.queries, 0);
}

TEST_F(ScriptedWindow, ClicksOnADisabledButtonDoNotArrive) {
  int clicks = 0;
  events.onBuildAlbum = [&] { ++clicks; };
  test::FakeOpenFileDialog unusedDialog;
  Button& buildButton = window.controls(unusedDialog).buildButton;
  buildButton.setEnabled(false);
  EXPECT_FALSE(window.findChild<QWidget*>("buildButton")->isEnabled());
  click("buildButton");
  EXPECT_EQ(clicks, 0);
  buildButton.setEnabled(true);
  click("buildButton");
  EXPECT_EQ(clicks, 1);
}

TEST(QtMainWindow, ReturnEnterAndSpacePressTheFocusedButtonOnce) {
  test::FakeWindowSystem ws;
  QtMainWindow window(ws);
  ScriptedEvents events;
  std::map<QString, int> clicks;
  events.onBuildAlbum = [&] { ++clicks["buildButton"]; };
  events.onQuit = [&] { ++clicks["quitButton"]; };
  window.setEvents(&events);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  for (const char* name : {"buildButton", "quitButton"}) {
    QWidget* button = window.findChild<QWidget*>(name);
    button->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), button);
    const struct {
      Qt::Key key;
      Qt::KeyboardModifiers modifiers;
    } keys[] = {{Qt::Key_Return, Qt::NoModifier},
                {Qt::Key_Enter, Qt::KeypadModifier},
                {Qt::Key_Space, Qt::NoModifier}};
    for (const auto& k : keys) {
      const int before = clicks[name];
      QTest::keyClick(button, k.key, k.modifiers);
      EXPECT_EQ(clicks[name], before + 1) << name << " key " << k.key;
    }
    // The repeats of a held Return press nothing more.
    const int before = clicks[name];
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(button, &repeat);
    EXPECT_EQ(clicks[name], before) << name;
  }
}

TEST(QtMainWindow, TheBusyPointerIsTheWaitCursorOverTheWholeWindow) {
  test::FakeWindowSystem ws;
  QtMainWindow window(ws);
  window.setMousePointer(Pointer::kBusy);
  EXPECT_TRUE(window.testAttribute(Qt::WA_SetCursor));
  EXPECT_EQ(window.cursor().shape(), Qt::WaitCursor);
  EXPECT_EQ(window.findChild<QWidget*>("titleLabel")->cursor().shape(), Qt::WaitCursor)
      << "over the whole window";
  window.setMousePointer(Pointer::kDefault);
  EXPECT_EQ(window.cursor().shape(), Qt::ArrowCursor);
  EXPECT_EQ(window.findChild<QWidget*>("titleLabel")->cursor().shape(), Qt::ArrowCursor);
}

// An error in a handler ends in the window system's report, never in Qt's event loop.
void clickWith(std::function<void(ScriptedEvents&)> script, const char* button) {
  ReportingWindowSystem ws;
  QtMainWindow window(ws);
  ScriptedEvents events;
  script(events);
  window.setEvents(&events);
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) std::_Exit(10);
  if (button) {
    QTest::mouseClick(window.findChild<QWidget*>(button), Qt::LeftButton);
  } else {
    window.close();
  }
  std::fprintf(stderr, "returned normally\n");
  std::_Exit(0);
}

TEST(QtMainWindowDeathTest, ErrorsInHandlersAreReportedNotPropagated) {
  EXPECT_EXIT(clickWith(
                  [](ScriptedEvents& e) {
                    e.onBuildAlbum = [] { throw RuntimeError(ErrorCode::kFileNotFound); };
                  },
                  "buildButton"),
              testing::ExitedWithCode(3), "reported 53: ファイルが見つかりません。");
  EXPECT_EXIT(
      clickWith([](ScriptedEvents& e) { e.onQuit = [] { throw std::runtime_error("boom"); }; },
                "quitButton"),
      testing::ExitedWithCode(3), "reported 51: .*boom");
  EXPECT_EXIT(clickWith(
                  [](ScriptedEvents& e) {
                    e.onQueryClose = []() -> bool { throw RuntimeError(ErrorCode::kOverflow); };
                  },
                  nullptr),
              testing::ExitedWithCode(3), "reported 6: ");
}

}  // namespace
}  // namespace orv::platform
