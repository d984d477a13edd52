#include "platform/qt/QtMainWindow.h"

#include "app/MainForm.h"
#include "platform/qt/BoxedLabel.h"
#include "platform/qt/Look.h"
#include "platform/qt/QtOpenFileDialog.h"
#include "platform/qt/WrappingButton.h"
#include "tests/platform/qt/ScriptedEvents.h"
#include "tests/support/Fakes.h"
#include "tests/support/UnusedServices.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace orv::platform {
namespace {

using test::ScriptedEvents;

// The real window wired to the real form logic, as the program's main wires them.
struct Program {
  test::FakeWindowSystem windowSystem;
  QtMainWindow window{windowSystem};
  QtOpenFileDialog dialog{&window};
  test::UnusedFileSystem fileSystem;
  test::UnusedTrackDetails trackDetails;
  test::UnusedFolderLocks folderLocks;
  FormControls controls = window.controls(dialog);
  MainForm form{controls,
                {.windowSystem = windowSystem,
                 .album = {.fileSystem = fileSystem,
                           .trackDetails = trackDetails,
                           .folderLocks = folderLocks,
                           .programFolder = "/opt/orv/"}}};

  Program() { window.setEvents(&form); }
  template <typename W = QWidget>
  W* child(const char* name) {
    return window.findChild<W*>(QString::fromLatin1(name));
  }
};

bool japaneseCapable(const QFont& font) {
  return QFontDatabase::writingSystems(QFontInfo(font).family()).contains(QFontDatabase::Japanese);
}

// Whatever fonts the machine has, every control's can show Japanese.
TEST(QtMainWindow, EveryControlHasAJapaneseFontOfNormalWeight) {
  Program p;
  for (const char* name :
       {"titleLabel", "artistCaptionLabel", "albumArtistLabel", "albumCaptionLabel",
        "albumTitleLabel", "trackGrid", "buildButton", "quitButton", "statusLabel"}) {
    QWidget* w = p.child(name);
    ASSERT_NE(w, nullptr) << name;
    EXPECT_TRUE(japaneseCapable(w->font()))
        << name << ": " << qPrintable(QFontInfo(w->font()).family());
    EXPECT_EQ(w->font().weight(), QFont::Normal) << name;
  }
  auto* grid = p.child<QTableView>("trackGrid");
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
  for (const Box& b :
       {Box{"albumCaptionLabel", {255, 255, 192}}, Box{"artistCaptionLabel", {255, 255, 192}},
        Box{"albumTitleLabel", {255, 255, 192}}, Box{"albumArtistLabel", {255, 255, 192}},
        Box{"statusLabel", {255, 192, 192}}}) {
    auto* label = p.child<QLabel>(b.name);
    EXPECT_TRUE(label->autoFillBackground()) << b.name;
    EXPECT_EQ(label->palette().color(QPalette::Window), b.colour) << b.name;
    EXPECT_EQ(label->frameShape(), QFrame::Box) << b.name;
    EXPECT_EQ(label->frameShadow(), QFrame::Plain) << b.name;
    EXPECT_EQ(label->lineWidth(), 1) << b.name;
    EXPECT_TRUE(label->alignment().testFlag(Qt::AlignLeft)) << b.name;
  }
  auto* title = p.child<QLabel>("titleLabel");
  EXPECT_EQ(title->frameShape(), QFrame::NoFrame);
  EXPECT_FALSE(title->autoFillBackground());

  // An album title that looks like markup is shown as typed.
  p.controls.albumTitleLabel.setCaption("<b>Best</b> &amp; more");
  EXPECT_EQ(p.child<QLabel>("albumTitleLabel")->textFormat(), Qt::PlainText);
  EXPECT_EQ(p.controls.albumTitleLabel.caption(), "<b>Best</b> &amp; more");
}

// What screen readers are told that the window as they get it over AT-SPI
// (tests/app/desktop_screen_reader_test.sh) does not show: the frame with the window's own
// title bar, and the role of a label made with a text, which Qt describes at once.
TEST(QtMainWindow, ScreenReadersGetAFrameWithEitherTitleBarAndALabelInItsRole) {
  for (TitleBar titleBar : {TitleBar::kDesktop, TitleBar::kDrawn}) {
    test::FakeWindowSystem windowSystem;
    QtMainWindow window(windowSystem, titleBar);
    QAccessibleInterface* frame = QAccessible::queryAccessibleInterface(&window);
    EXPECT_EQ(frame->role(), QAccessible::Window);
    EXPECT_EQ(frame->text(QAccessible::Name), "Sonalith AlbumVersion");
    BoxedLabel status("準備中", look::kLightPink, &window, QAccessible::StatusBar);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&status)->role(), QAccessible::StatusBar);
  }
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

TEST(QtMainWindow, BuildButtonCaptionWrapsOntoTwoLinesAndKeepsItsText) {
  Program p;
  p.window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&p.window));
  auto* button = p.child<WrappingButton>("buildButton");
  EXPECT_EQ(button->text(), "フォルダー選択＆ html 作成");
  EXPECT_EQ(button->paintedLines().size(), 2) << qPrintable(button->paintedLines().join('|'));
  EXPECT_EQ(button->paintedLines().join(""), "フォルダー選択＆ html 作成");
  // Painted: two bands of caption, inside the button.
  const QImage image = button->grab().toImage();
  EXPECT_EQ(textBands(image, image.rect().adjusted(4, 4, -4, -4)), 2);
  EXPECT_TRUE(button->shortcut().isEmpty()) << "the full-width ampersand is not an access key";
  // The plain button's one-line caption stays one line.
  const QImage close = p.child("quitButton")->grab().toImage();
  EXPECT_EQ(textBands(close, close.rect().adjusted(4, 4, -4, -4)), 1);
}

// Where the desktop draws no title bar, the window draws its own around the same client
// area: icon, title and a close box that asks the form as the desktop's would; nothing
// for minimising or maximising, and no frame of Qt's.
TEST(QtMainWindow, ADrawnTitleBarHasTheTitleIconAndACloseBoxOnly) {
  test::FakeWindowSystem windowSystem;
  QtMainWindow window(windowSystem, TitleBar::kDrawn);
  ScriptedEvents events;
  events.onQueryClose = [] { return false; };
  window.setEvents(&events);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

  EXPECT_TRUE(window.windowFlags().testFlag(Qt::FramelessWindowHint));
  EXPECT_EQ(window.minimumSize(), window.maximumSize());
  auto* build = window.findChild<QWidget*>(QStringLiteral("buildButton"));
  EXPECT_EQ(build->parentWidget()->size(), QSize(624, 416));
  EXPECT_EQ(build->geometry(), QRect(500, 116, 117, 69));
  EXPECT_EQ(window.focusWidget(), build);
  auto* frame = window.findChild<QWidget*>(QStringLiteral("drawnFrame"));
  const auto boxes = frame->findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly);
  ASSERT_EQ(boxes.size(), 1);
  EXPECT_EQ(boxes[0]->focusPolicy(), Qt::NoFocus);
  EXPECT_EQ(QAccessible::queryAccessibleInterface(boxes[0])->text(QAccessible::Name), "閉じる");

  // The title and the icon are painted in the bar, left of the close box.
  const QImage bar = frame->grab(QRect(0, 0, boxes[0]->x(), 30)).toImage();
  EXPECT_GE(textBands(bar, bar.rect().adjusted(40, 0, 0, 0)), 1);
  EXPECT_NE(QColor(bar.pixel(19, 15)), QColor(bar.pixel(3, 3))) << "no icon";

  QTest::mouseClick(boxes[0], Qt::LeftButton);
  EXPECT_EQ(events.queries, 1);
  EXPECT_TRUE(window.isVisible());
  events.onQueryClose = [] { return true; };
  QTest::mouseClick(boxes[0], Qt::LeftButton);
  EXPECT_FALSE(window.isVisible());
}

TEST(QtMainWindow, StartUpShowsThePreparedGridWithTheBuildButtonFocused) {
  Program p;
  p.form.load();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&p.window));
  EXPECT_TRUE(p.window.isVisible());
  EXPECT_FALSE(p.window.isModal());
  EXPECT_EQ(p.window.parentWidget(), nullptr);
  EXPECT_EQ(p.window.focusWidget(), p.child("buildButton"));

  auto* view = p.child<QTableView>("trackGrid");
  EXPECT_EQ(view->model()->rowCount(), 1);
  EXPECT_EQ(view->model()->headerData(0, Qt::Vertical).toString(), "1");
  EXPECT_EQ(view->model()->index(0, 0).data().toString(), "");
  EXPECT_EQ(view->model()->index(0, 1).data().toString(), "");
  for (const char* empty : {"albumTitleLabel", "albumArtistLabel", "statusLabel"}) {
    EXPECT_EQ(p.child<QLabel>(empty)->text(), "") << empty;
  }
  EXPECT_TRUE(p.child("buildButton")->isEnabled());
}

TEST(QtMainWindow, TabGoesFromBuildButtonToTheGridToQuitButtonAndLabelsTakeNoFocus) {
  Program p;
  p.form.load();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&p.window));
  ASSERT_EQ(QApplication::focusWidget(), p.child("buildButton"));
  for (const char* next : {"trackGrid", "quitButton", "buildButton"}) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), p.child(next)) << "Tab to " << next;
  }
  for (QLabel* label : p.window.findChildren<QLabel*>()) {
    EXPECT_EQ(label->focusPolicy(), Qt::NoFocus) << qPrintable(label->objectName());
  }
}

TEST(QtMainWindow, QuitButtonEndsTheProgramByUnloadingTheWindow) {
  Program p;
  p.form.load();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&p.window));
  // The click in the program's event loop: the loop ends with the window.
  QTimer::singleShot(0, &p.window,
                     [&] { QTest::mouseClick(p.child("quitButton"), Qt::LeftButton); });
  QTimer tooLong;
  tooLong.callOnTimeout([] { QCoreApplication::exit(99); });
  tooLong.start(5000);
  EXPECT_EQ(QApplication::exec(), 0) << "99: the event loop went on";
  EXPECT_FALSE(p.window.isVisible());
  EXPECT_TRUE(p.windowSystem.messageBoxes.empty()) << "no question is asked";
}

}  // namespace
}  // namespace orv::platform
