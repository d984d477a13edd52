#include "platform/qt/QtMainWindow.h"

#include "app/Frm010_Orv.h"
#include "platform/qt/QtGrid.h"
#include "platform/qt/QtOpenFileDialog.h"
#include "platform/qt/WrappingButton.h"
#include "tests/fakes/Fakes.h"
#include "tests/fakes/UnusedServices.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <map>
#include <memory>

namespace orv::platform {
namespace {

// The real window wired to the real form logic, as the program's main wires them.
struct Program {
  test::FakeWindowSystem windowSystem;
  QtMainWindow window{windowSystem};
  QtOpenFileDialog dialog{&window};
  test::UnusedFileSystem fileSystem;
  test::UnusedDetailSources detailSources;
  TrackTable trackTable;
  Frm010_Orv form{FormControls{window, window.command1(), window.command3(), window.label(1),
                               window.label(2), window.label(3), window.label(4), window.label(5),
                               window.label(6), window.grid(), dialog},
                  FormServices{windowSystem, fileSystem, detailSources, trackTable, "/opt/orv/"}};

  Program() { window.setEvents(&form); }
  template <typename W = QWidget>
  W* child(const char* name) {
    return window.findChild<W*>(QString::fromLatin1(name));
  }
};

// Form events with scripted answers.
struct ScriptedEvents : FormEvents {
  std::function<void()> onCommand1 = [] {};
  std::function<void()> onCommand3 = [] {};
  std::function<bool()> onQueryUnload = [] { return true; };
  int queries = 0;
  void Command1_Click() override { onCommand1(); }
  void Command3_Click() override { onCommand3(); }
  bool QueryUnload() override {
    ++queries;
    return onQueryUnload();
  }
};

// Reports on stderr and ends the process, as the real report ends the program.
struct ReportingWindowSystem : test::FakeWindowSystem {
  void reportUnhandledError(const RuntimeError& e) override {
    std::fprintf(stderr, "reported %d: %s\n", e.number(), qPrintable(e.description()));
    std::_Exit(3);
  }
};

bool japaneseCapable(const QFont& font) {
  return QFontDatabase::writingSystems(QFontInfo(font).family()).contains(QFontDatabase::Japanese);
}

TEST(QtMainWindow, EveryControlSitsAtItsPlaceWithItsCaptionAndFont) {
  Program p;
  struct Control {
    const char* name;
    QRect pixels;
    QString caption;
    double points;
  };
  const Control controls[] = {
      {"Label5", {100, 12, 429, 29}, "ソナリス（アルバムバージョン）", 15.75},
      {"Label2", {12, 56, 117, 21}, "アーティスト名", 14.25},
      {"Label4", {132, 56, 485, 21}, "", 14.25},
      {"Label1", {12, 80, 117, 21}, "アルバム名", 14.25},
      {"Label3", {132, 80, 485, 21}, "", 14.25},
      {"MSHFlexGrid1", {12, 116, 481, 257}, "", 0},
      {"Command1", {500, 116, 117, 69}, "フォルダー選択＆ html 作成", 12},
      {"Command3", {500, 340, 117, 33}, "終了", 12},
      {"Label6", {12, 384, 605, 21}, "", 14.25},
  };
  for (const Control& c : controls) {
    QWidget* w = p.child(c.name);
    ASSERT_NE(w, nullptr) << c.name;
    EXPECT_EQ(w->geometry(), c.pixels) << c.name;
    if (auto* label = qobject_cast<QLabel*>(w)) {
      EXPECT_EQ(label->text(), c.caption) << c.name;
    }
    if (auto* button = qobject_cast<QPushButton*>(w)) {
      EXPECT_EQ(button->text(), c.caption) << c.name;
    }
    if (c.points > 0) {
      EXPECT_DOUBLE_EQ(w->font().pointSizeF(), c.points) << c.name;
      EXPECT_EQ(w->font().families().value(0), "ＭＳ Ｐゴシック") << c.name;
    }
    EXPECT_TRUE(japaneseCapable(w->font()))
        << c.name << ": " << qPrintable(QFontInfo(w->font()).family());
    EXPECT_EQ(w->font().weight(), QFont::Normal) << c.name;
  }
  auto* grid = p.child<QTableView>("MSHFlexGrid1");
  EXPECT_EQ(grid->font().families().value(0), "ＭＳ ゴシック");
  EXPECT_TRUE(japaneseCapable(grid->font()));
  EXPECT_TRUE(japaneseCapable(grid->horizontalHeader()->font()));
}

TEST(QtMainWindow, WindowIsFixedWithCloseBoxOnly) {
  Program p;
  EXPECT_EQ(p.window.windowTitle(), "Sonalith AlbumVersion");
  EXPECT_EQ(p.window.minimumSize(), QSize(624, 416));
  EXPECT_EQ(p.window.maximumSize(), QSize(624, 416));
  const Qt::WindowFlags flags = p.window.windowFlags();
  EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowSystemMenuHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowTitleHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
  EXPECT_FALSE(p.window.windowIcon().isNull());
  EXPECT_TRUE(p.window.windowIcon().availableSizes().contains(QSize(32, 32)));
}

TEST(QtMainWindow, BoxedLabelsAreOpaqueFramedAndPlainText) {
  Program p;
  struct Box {
    const char* name;
    QColor colour;
  };
  for (const Box& b : {Box{"Label1", {255, 255, 192}}, Box{"Label2", {255, 255, 192}},
                       Box{"Label3", {255, 255, 192}}, Box{"Label4", {255, 255, 192}},
                       Box{"Label6", {255, 192, 192}}}) {
    auto* label = p.child<QLabel>(b.name);
    EXPECT_TRUE(label->autoFillBackground()) << b.name;
    EXPECT_EQ(label->palette().color(QPalette::Window), b.colour) << b.name;
    EXPECT_EQ(label->frameShape(), QFrame::Box) << b.name;
    EXPECT_EQ(label->frameShadow(), QFrame::Plain) << b.name;
    EXPECT_EQ(label->lineWidth(), 1) << b.name;
    EXPECT_TRUE(label->alignment().testFlag(Qt::AlignLeft)) << b.name;
  }
  auto* title = p.child<QLabel>("Label5");
  EXPECT_EQ(title->frameShape(), QFrame::NoFrame);
  EXPECT_FALSE(title->autoFillBackground());

  // An album title that looks like markup is shown as typed.
  p.window.label(3).setCaption("<b>Best</b> &amp; more");
  EXPECT_EQ(p.child<QLabel>("Label3")->textFormat(), Qt::PlainText);
  EXPECT_EQ(p.window.label(3).caption(), "<b>Best</b> &amp; more");
}

// Rows of the image that hold caption pixels, grouped into bands of adjacent rows.
int textBands(const QImage& image, const QRect& inside) {
  int bands = 0;
  bool inBand = false;
  for (int y = inside.top(); y <= inside.bottom(); ++y) {
    bool ink = false;
    for (int x = inside.left(); x <= inside.right() && !ink; ++x) {
      ink = QColor(image.pixel(x, y)).lightness() < 100;
    }
    if (ink && !inBand) ++bands;
    inBand = ink;
  }
  return bands;
}

TEST(QtMainWindow, Command1CaptionWrapsOntoTwoLinesAndKeepsItsText) {
  Program p;
  p.window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&p.window));
  auto* button = p.child<WrappingButton>("Command1");
  EXPECT_EQ(button->text(), "フォルダー選択＆ html 作成");
  EXPECT_EQ(button->paintedLines().size(), 2) << qPrintable(button->paintedLines().join('|'));
  EXPECT_EQ(button->paintedLines().join(""), "フォルダー選択＆ html 作成");
  // Painted: two bands of caption, inside the button.
  const QImage image = button->grab().toImage();
  EXPECT_EQ(textBands(image, image.rect().adjusted(4, 4, -4, -4)), 2);
  EXPECT_TRUE(button->shortcut().isEmpty()) << "the full-width ampersand is not an access key";
  // The plain button's one-line caption stays one line.
  const QImage close = p.child("Command3")->grab().toImage();
  EXPECT_EQ(textBands(close, close.rect().adjusted(4, 4, -4, -4)), 1);
}

TEST(QtMainWindow, StartUpShowsThePreparedGridWithCommand1Focused) {
  Program p;
  p.form.LoadProc();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&p.window));
  EXPECT_TRUE(p.window.isVisible());
  EXPECT_FALSE(p.window.isModal());
  EXPECT_EQ(p.window.parentWidget(), nullptr);
  EXPECT_EQ(p.window.focusWidget(), p.child("Command1"));

  auto* view = p.child<QTableView>("MSHFlexGrid1");
  EXPECT_EQ(view->model()->rowCount(), 2);
  EXPECT_EQ(view->model()->headerData(4, Qt::Horizontal).toString(), "曲名");
  EXPECT_EQ(view->model()->headerData(6, Qt::Horizontal).toString(), "時間");
  EXPECT_EQ(view->model()->headerData(1, Qt::Vertical).toString(), "1");
  EXPECT_EQ(view->model()->index(1, 4).data().toString(), "");
  for (const char* empty : {"Label3", "Label4", "Label6"}) {
    EXPECT_EQ(p.child<QLabel>(empty)->text(), "") << empty;
  }
  EXPECT_TRUE(p.child("Command1")->isEnabled());
}

TEST(QtMainWindow, TabGoesFromCommand1ToTheGridToCommand3AndLabelsTakeNoFocus) {
  Program p;
  p.form.LoadProc();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&p.window));
  ASSERT_EQ(QApplication::focusWidget(), p.child("Command1"));
  for (const char* next : {"MSHFlexGrid1", "Command3", "Command1"}) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), p.child(next)) << "Tab to " << next;
  }
  for (QLabel* label : p.window.findChildren<QLabel*>()) {
    EXPECT_EQ(label->focusPolicy(), Qt::NoFocus) << qPrintable(label->objectName());
  }
}

TEST(QtMainWindow, Command3EndsTheProgramByUnloadingTheWindow) {
  Program p;
  p.form.LoadProc();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&p.window));
  // The click in the program's event loop: the loop ends with the window.
  QTimer::singleShot(0, &p.window, [&] { QTest::mouseClick(p.child("Command3"), Qt::LeftButton); });
  QTimer tooLong;
  tooLong.callOnTimeout([] { QCoreApplication::exit(99); });
  tooLong.start(5000);
  EXPECT_EQ(QApplication::exec(), 0) << "99: the event loop went on";
  EXPECT_FALSE(p.window.isVisible());
  EXPECT_TRUE(p.windowSystem.messageBoxes.empty()) << "no question is asked";
}

TEST(QtMainWindow, CloseBoxAsksQueryUnloadAndRespectsNo) {
  test::FakeWindowSystem ws;
  QtMainWindow window(ws);
  ScriptedEvents events;
  window.setEvents(&events);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

  events.onQueryUnload = [] { return false; };
  EXPECT_FALSE(window.close());
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(events.queries, 1);

  events.onQueryUnload = [] { return true; };
  EXPECT_TRUE(window.close());
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(events.queries, 2);
}

TEST(QtMainWindow, UnloadClosesWithoutAsking) {
  test::FakeWindowSystem ws;
  QtMainWindow window(ws);
  ScriptedEvents events;
  events.onQueryUnload = [] { return false; };
  events.onCommand3 = [&] { window.unload(); };
  window.setEvents(&events);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  QTest::mouseClick(window.findChild<QWidget*>("Command3"), Qt::LeftButton);
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(events.queries, 0);
}

TEST(QtMainWindow, ClicksOnADisabledButtonDoNotArrive) {
  test::FakeWindowSystem ws;
  QtMainWindow window(ws);
  ScriptedEvents events;
  int clicks = 0;
  events.onCommand1 = [&] { ++clicks; };
  window.setEvents(&events);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  window.command1().setEnabled(false);
  EXPECT_FALSE(window.command1().isEnabled());
  QTest::mouseClick(window.findChild<QWidget*>("Command1"), Qt::LeftButton);
  EXPECT_EQ(clicks, 0);
  window.command1().setEnabled(true);
  QTest::mouseClick(window.findChild<QWidget*>("Command1"), Qt::LeftButton);
  EXPECT_EQ(clicks, 1);
}

TEST(QtMainWindow, ReturnEnterAndSpacePressTheFocusedButtonOnce) {
  test::FakeWindowSystem ws;
  QtMainWindow window(ws);
  ScriptedEvents events;
  std::map<QString, int> clicks;
  events.onCommand1 = [&] { ++clicks["Command1"]; };
  events.onCommand3 = [&] { ++clicks["Command3"]; };
  window.setEvents(&events);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  for (const char* name : {"Command1", "Command3"}) {
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

TEST(QtMainWindow, MousePointerElevenIsTheBusyCursorAndZeroTheDefault) {
  test::FakeWindowSystem ws;
  QtMainWindow window(ws);
  window.setMousePointer(kPointerHourglass);
  EXPECT_TRUE(window.testAttribute(Qt::WA_SetCursor));
  EXPECT_EQ(window.cursor().shape(), Qt::WaitCursor);
  EXPECT_EQ(window.findChild<QWidget*>("Label5")->cursor().shape(), Qt::WaitCursor)
      << "over the whole window";
  window.setMousePointer(kPointerDefault);
  EXPECT_EQ(window.cursor().shape(), Qt::ArrowCursor);
  EXPECT_EQ(window.findChild<QWidget*>("Label5")->cursor().shape(), Qt::ArrowCursor);
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
                    e.onCommand1 = [] { throw RuntimeError(ErrorCode::kFileNotFound); };
                  },
                  "Command1"),
              testing::ExitedWithCode(3), "reported 53: ファイルが見つかりません。");
  EXPECT_EXIT(
      clickWith([](ScriptedEvents& e) { e.onCommand3 = [] { throw std::runtime_error("boom"); }; },
                "Command3"),
      testing::ExitedWithCode(3), "reported 51: .*boom");
  EXPECT_EXIT(clickWith(
                  [](ScriptedEvents& e) {
                    e.onQueryUnload = []() -> bool { throw RuntimeError(ErrorCode::kOverflow); };
                  },
                  nullptr),
              testing::ExitedWithCode(3), "reported 6: ");
}

}  // namespace
}  // namespace orv::platform
