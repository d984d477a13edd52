// The real dialog, headless (QT_QPA_PLATFORM=offscreen), driven as a user would.

#include "platform/qt/QtOpenFileDialog.h"

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
#include <optional>

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

  // Shows the dialog; once it is up, active and ready for typing, `act` plays the user.
  // A dialog that never gets there is rejected after a few seconds so that the test
  // fails instead of hanging. What the dialog returned.
  std::optional<QString> choose(const std::function<void(QFileDialog&, QLineEdit&)>& act) {
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
    const std::optional<QString> chosen = dialog_.chooseMp3File();
    EXPECT_TRUE(acted) << "the dialog never became ready";
    return chosen;
  }
  static void cancel(QFileDialog&, QLineEdit& edit) { QTest::keyClick(&edit, Qt::Key_Escape); }

  static void type(QLineEdit& edit, const QString& text) {
    edit.clear();
    for (QChar c : text)
      QTest::sendKeyEvent(QTest::Click, &edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
  }

  QTemporaryDir dir_;
  QWidget owner_;
  QtOpenFileDialog dialog_{&owner_};
};

TEST_F(QtOpenFileDialogTest, ACancelChoosesNothing) { EXPECT_EQ(choose(cancel), std::nullopt); }

TEST_F(QtOpenFileDialogTest, ReturnsTheChosenPathAndOpensOnItWhileCancelled) {
  QFileDialog* first = nullptr;
  EXPECT_EQ(choose([&](QFileDialog& dialog, QLineEdit& edit) {
              first = &dialog;
              dialog.setDirectory(dir_.path());
              type(edit, QStringLiteral("01 Intro.mp3"));
              QTest::keyClick(&edit, Qt::Key_Return);
            }),
            folder() + QStringLiteral("01 Intro.mp3"));

  for (int cancelled = 0; cancelled < 2; ++cancelled) {
    QString initialName, initialFolder;
    QFileDialog* next = nullptr;
    EXPECT_EQ(choose([&](QFileDialog& dialog, QLineEdit& edit) {
                next = &dialog;
                initialName = edit.text();
                initialFolder = dialog.directory().path();
                cancel(dialog, edit);
              }),
              std::nullopt);
    // One dialog, owned by the window, for every use; a cancel keeps the last choice.
    EXPECT_EQ(next, first);
    EXPECT_EQ(first->parentWidget(), &owner_);
    EXPECT_EQ(initialName, QStringLiteral("01 Intro.mp3"));
    EXPECT_EQ(initialFolder, dir_.path());
  }
}

TEST_F(QtOpenFileDialogTest, ATypedNameThatDoesNotExistIsTakenAsItIs) {
  EXPECT_EQ(choose([&](QFileDialog& dialog, QLineEdit& edit) {
              dialog.setDirectory(dir_.path());
              type(edit, QStringLiteral("新しい曲.mp3"));
              QTest::keyClick(&edit, Qt::Key_Return);
            }),
            folder() + QStringLiteral("新しい曲.mp3"));
}

TEST_F(QtOpenFileDialogTest, ShowsTheFilterWithItsPatternAndMatchesAnyLetterCase) {
  QStringList filters, shown;
  choose([&](QFileDialog& dialog, QLineEdit& edit) {
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
