#include "platform/qt/QtWindowSystem.h"

#include "tests/support/Files.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

namespace orv::platform {
namespace {

// Each test's locks live in a runtime folder of its own.
struct WindowSystemFixture : testing::Test {
  QTemporaryDir runtime;
  QByteArray savedRuntime = qgetenv("XDG_RUNTIME_DIR");
  void SetUp() override {
    ASSERT_TRUE(runtime.isValid());
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
  }
  void TearDown() override { qputenv("XDG_RUNTIME_DIR", savedRuntime); }
  QApplication& app() { return *qApp; }
};

// What a message box showed, taken while it was open; the box is then closed with OK.
struct SeenBox {
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QString title, text;
  QStringList buttons;
  bool seen = false;
};

SeenBox whileBoxIsOpen(const std::function<void()>& show) {
  SeenBox seen;
  QTimer poll;
  poll.callOnTimeout([&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    poll.stop();
    seen = {box->icon(), box->windowTitle(), box->text(), {}, true};
    for (QAbstractButton* b : box->buttons()) seen.buttons << b->text();
    box->button(QMessageBox::Ok)->click();
  });
  poll.start(10);
  show();
  return seen;
}

TEST_F(WindowSystemFixture, MessageBoxIconsAndTitles) {
  QtWindowSystem ws(app(), "orv-test");
  struct Case {
    MessageIcon icon;
    QString title;
    QMessageBox::Icon shownIcon;
    QString shownTitle;
  };
  for (const Case& c :
       {Case{MessageIcon::kNone, "", QMessageBox::NoIcon, "Orv"},
        Case{MessageIcon::kWarning, "二重起動禁止", QMessageBox::Warning, "二重起動禁止"},
        Case{MessageIcon::kWarning, "", QMessageBox::Warning, "Orv"}}) {
    const SeenBox box = whileBoxIsOpen([&] { ws.messageBox("一行目\r\n二行目", c.icon, c.title); });
    ASSERT_TRUE(box.seen);
    EXPECT_EQ(box.icon, c.shownIcon) << c.shownTitle.toStdString();
    EXPECT_EQ(box.title, c.shownTitle);
    EXPECT_EQ(box.text, "一行目\n二行目") << "CR LF pairs are line breaks";
    EXPECT_EQ(box.buttons.size(), 1) << "one OK button";
  }
}

TEST_F(WindowSystemFixture, QtsOwnTextsAreJapaneseAndTheIconIsSet) {
  QtWindowSystem ws(app(), "orv-test");
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "キャンセル");
  EXPECT_FALSE(QApplication::windowIcon().isNull());
}

TEST_F(WindowSystemFixture, OnlyTheFirstCopyRunsUntilItEnds) {
  {
    QtWindowSystem first(app(), "orv-test");
    EXPECT_FALSE(first.previousInstanceRunning());
    EXPECT_FALSE(first.previousInstanceRunning()) << "asking again does not count itself";
    EXPECT_TRUE(QFile::exists(QDir(runtime.path()).filePath("orv-test.lock")));
    QtWindowSystem second(app(), "orv-test");
    EXPECT_TRUE(second.previousInstanceRunning());
    QtWindowSystem otherProgram(app(), "orv-other");
    EXPECT_FALSE(otherProgram.previousInstanceRunning());
  }
  QtWindowSystem later(app(), "orv-test");
  EXPECT_FALSE(later.previousInstanceRunning());
}

TEST_F(WindowSystemFixture, LockLeftByAKilledCopyDoesNotCount) {
  // A lock as a copy leaves it when killed: Qt's own lock file, naming a process gone.
  const QString path = QDir(runtime.path()).filePath("orv-test.lock");
  QByteArray content;
  {
    QLockFile own(path);
    ASSERT_TRUE(own.tryLock(0));
    content = test::readFile(path);
  }
  QProcess gone;
  gone.start("sleep", {"0.05"});
  ASSERT_TRUE(gone.waitForStarted());
  const qint64 pid = gone.processId();
  ASSERT_TRUE(gone.waitForFinished());
  content.replace(0, content.indexOf('\n'), QByteArray::number(pid));
  test::writeFile(path, content);

  QtWindowSystem next(app(), "orv-test");
  EXPECT_FALSE(next.previousInstanceRunning());
}

TEST_F(WindowSystemFixture, ProcessPendingMessagesHandlesWhatIsQueued) {
  QtWindowSystem ws(app(), "orv-test");
  int ran = 0;
  QTimer::singleShot(0, qApp, [&] { ++ran; });
  QMetaObject::invokeMethod(
      qApp, [&] { ++ran; }, Qt::QueuedConnection);
  ws.processPendingMessages();
  EXPECT_EQ(ran, 2);
}

struct ClosedWindowReporter : QWidget {
  void closeEvent(QCloseEvent*) override { std::fprintf(stderr, "close event ran\n"); }
};

TEST_F(WindowSystemFixture, EndProgramEndsAtOnceWithoutCloseEvents) {
  auto end = [&] {
    QtWindowSystem ws(app(), "orv-test");
    ClosedWindowReporter window;
    window.show();
    std::fprintf(stdout, "[flushed by endProgram] ");  // no newline: still buffered
    runtime.remove();                                  // the ending child runs no destructor
    ws.endProgram(7);
  };
  EXPECT_EXIT(end(), testing::ExitedWithCode(7), testing::Not(testing::HasSubstr("close event")));
}

TEST_F(WindowSystemFixture, UnhandledErrorIsReportedWithNumberAndDescriptionThenEnds) {
  auto report = [&] {
    QtWindowSystem ws(app(), "orv-test");
    QTimer poll;
    poll.callOnTimeout([] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        std::fprintf(stderr, "icon=%d title=%s text=%s\n", int(box->icon()),
                     qPrintable(box->windowTitle()), qPrintable(box->text().replace('\n', '|')));
        box->button(QMessageBox::Ok)->click();
      }
    });
    poll.start(10);
    runtime.remove();  // the ending child runs no destructor
    ws.reportUnhandledError(RuntimeError(ErrorCode::kFileNotFound));
  };
  EXPECT_EXIT(report(), testing::ExitedWithCode(1),
              "icon=3 title=Orv text=実行時エラー '53':\\|\\|ファイルが見つかりません。");
}

}  // namespace
}  // namespace orv::platform
