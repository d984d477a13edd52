// The real dialog, headless (QT_QPA_PLATFORM=offscreen), driven as a user would.

#include "platform/qt/QtOpenFileDialog.h"

#include "core/RuntimeError.h"
#include "tests/support/Errors.h"
#include "tests/support/Files.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

namespace orv::platform {
namespace {

class QtOpenFileDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    for (const char* name : {"01 Intro.mp3", "02 Song.MP3", "03 Song.Mp3", "notes.wav"}) {
      test::writeFile(folder() + QString::fromUtf8(name));
    }
    owner_.show();
  }

  QString folder() const { return dir_.path() + u'/'; }

  // Runs ShowOpen; once the dialog is up, active and ready for typing, `act` plays the
  // user. A dialog that never gets there is rejected after a few seconds so that the
  // test fails instead of hanging.
  void showOpen(const std::function<void(QFileDialog&, QLineEdit&)>& act) {
    bool acted = false;
    QElapsedTimer clock;
    clock.start();
    // Parented to a widget: a free-floating timer inside the dialog's loop crashed.
    QTimer timer(&owner_);
    timer.setInterval(20);
    QObject::connect(&timer, &QTimer::timeout, [&] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr) return;
      auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
      const bool ready = dialog->isActiveWindow() && edit != nullptr && edit->hasFocus();
      if (!ready && clock.elapsed() < 5000) return;
      timer.stop();
      if (!ready) {
        dialog->reject();
        return;
      }
      acted = true;
      act(*dialog, *edit);
    });
    timer.start();
    try {
      dialog_.ShowOpen();
    } catch (...) {
      ASSERT_TRUE(acted) << "the dialog never became ready";
      throw;
    }
    ASSERT_TRUE(acted) << "the dialog never became ready";
  }

  static void type(QLineEdit& edit, const QString& text) {
    edit.clear();
    for (QChar c : text)
      QTest::sendKeyEvent(QTest::Click, &edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
  }

  QTemporaryDir dir_;
  QWidget owner_;
  QtOpenFileDialog dialog_{&owner_};
};

TEST_F(QtOpenFileDialogTest, CancelRaises32755WhenCancelErrorIsSet) {
  dialog_.setCancelError(true);
  const RuntimeError e = test::errorOf([&] {
    showOpen([](QFileDialog&, QLineEdit& edit) { QTest::keyClick(&edit, Qt::Key_Escape); });
  });
  EXPECT_EQ(e.number(), 32755);
  EXPECT_TRUE(dialog_.fileName().isEmpty());
}

TEST_F(QtOpenFileDialogTest, CancelWithoutCancelErrorJustReturns) {
  showOpen([](QFileDialog&, QLineEdit& edit) { QTest::keyClick(&edit, Qt::Key_Escape); });
  EXPECT_TRUE(dialog_.fileName().isEmpty());
}

TEST_F(QtOpenFileDialogTest, ReturnsTheChosenPathAndOpensOnItNextTime) {
  dialog_.setCancelError(true);
  dialog_.setFilter(QStringLiteral("mp3ファイル|*.mp3"));
  QFileDialog* first = nullptr;
  showOpen([&](QFileDialog& dialog, QLineEdit& edit) {
    first = &dialog;
    dialog.setDirectory(dir_.path());
    type(edit, QStringLiteral("01 Intro.mp3"));
    QTest::keyClick(&edit, Qt::Key_Return);
  });
  EXPECT_EQ(dialog_.fileName(), folder() + QStringLiteral("01 Intro.mp3"));

  QString initialName, initialFolder;
  QFileDialog* second = nullptr;
  test::errorOf([&] {  // the cancel's error is not what this test is about
    showOpen([&](QFileDialog& dialog, QLineEdit& edit) {
      second = &dialog;
      initialName = edit.text();
      initialFolder = dialog.directory().path();
      QTest::keyClick(&edit, Qt::Key_Escape);
    });
  });
  // One dialog, owned by the window, for every use.
  EXPECT_EQ(second, first);
  EXPECT_EQ(first->parentWidget(), &owner_);
  EXPECT_EQ(initialName, QStringLiteral("01 Intro.mp3"));
  EXPECT_EQ(initialFolder, dir_.path());
  EXPECT_EQ(dialog_.fileName(), folder() + QStringLiteral("01 Intro.mp3"));  // kept on cancel
}

TEST_F(QtOpenFileDialogTest, ATypedNameThatDoesNotExistIsTakenAsItIs) {
  showOpen([&](QFileDialog& dialog, QLineEdit& edit) {
    dialog.setDirectory(dir_.path());
    type(edit, QStringLiteral("新しい曲.mp3"));
    QTest::keyClick(&edit, Qt::Key_Return);
  });
  EXPECT_EQ(dialog_.fileName(), folder() + QStringLiteral("新しい曲.mp3"));
}

TEST_F(QtOpenFileDialogTest, ShowsTheFilterWithItsPatternAndMatchesAnyLetterCase) {
  dialog_.setFilter(QStringLiteral("mp3ファイル|*.mp3"));
  QStringList filters, shown;
  showOpen([&](QFileDialog& dialog, QLineEdit& edit) {
    filters = dialog.nameFilters();
    auto* model = dialog.findChild<QFileSystemModel*>();
    if (model == nullptr) {
      ADD_FAILURE() << "the dialog has no file model";
      QTest::keyClick(&edit, Qt::Key_Escape);
      return;
    }
    bool loaded = false;
    QObject::connect(model, &QFileSystemModel::directoryLoaded, [&] { loaded = true; });
    dialog.setDirectory(dir_.path());
    const QModelIndex root = model->index(dir_.path());
    EXPECT_TRUE(QTest::qWaitFor([&] { return loaded && model->rowCount(root) > 0; }, 5000));
    for (int row = 0; row < model->rowCount(root); ++row) {
      shown << model->index(row, 0, root).data().toString();
    }
    QTest::keyClick(&edit, Qt::Key_Escape);
  });
  EXPECT_EQ(filters, QStringList{QStringLiteral("mp3ファイル (*.mp3)")});
  shown.sort();
  EXPECT_EQ(shown, (QStringList{"01 Intro.mp3", "02 Song.MP3", "03 Song.Mp3"}));
}

}  // namespace
}  // namespace orv::platform
