// One click builds an album, on the real Qt window and the real file dialog, headless:
// the test plays the user in the dialog, and checks the files, the window and the page.

#include "app/MainForm.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixFolderLocks.h"
#include "platform/qt/QtMainWindow.h"
#include "platform/qt/QtOpenFileDialog.h"
#include "platform/qt/QtWindowSystem.h"
#include "platform/taglib/TagLibTrackDetails.h"
#include "tests/mp3/Mp3Files.h"
#include "tests/support/Files.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace orv {
namespace {

using namespace Qt::StringLiterals;
using platform::QtMainWindow;
using test::Id3Encoding;

const QString kProgramFolder = QStringLiteral(ORV_PROGRAM_DIR "/");

// 3.5 seconds of mono audio with a LAME header: "0:00:03", 3000 ms on the page.
const QByteArray& audio() {
  static const QByteArray bytes = test::encodeMp3(test::pcm(22050, 1, 3.5), 22050, 1, {"-b", "32"});
  return bytes;
}

class BuildInWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(root.isValid());
    window.setEvents(&form);
    form.load();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  }

  // A folder of `root` with one file per entry: name and the bytes before the audio.
  QString makeAlbum(const QString& folder,
                    const std::vector<std::pair<QString, QByteArray>>& files) {
    const QString path = root.path() + u'/' + folder + u'/';
    EXPECT_TRUE(QDir().mkpath(path));
    for (const auto& [name, tag] : files) test::writeFile(path + name, tag + audio());
    return path;
  }

  // Clicks the build button; once the dialog is up and ready for typing, `user` plays the user.
  // Returns how often a dialog came up.
  int clickBuild(const std::function<void(QFileDialog&, QLineEdit&)>& user) {
    int dialogs = 0;
    QElapsedTimer clock;
    clock.start();
    QTimer timer(&window);  // parented: a free-floating timer inside a dialog's loop crashed
    timer.setInterval(20);
    QObject::connect(&timer, &QTimer::timeout, [&] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr || !dialog->isVisible()) return;
      auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
      const bool ready = dialog->isActiveWindow() && edit != nullptr && edit->hasFocus();
      if (!ready && clock.elapsed() < 10000) return;
      ++dialogs;
      if (!ready) return dialog->reject();  // fail rather than hang
      user(*dialog, *edit);
    });
    timer.start();
    QTest::mouseClick(buildButton(), Qt::LeftButton);
    return dialogs;
  }

  static std::function<void(QFileDialog&, QLineEdit&)> choose(const QString& path) {
    return [path](QFileDialog&, QLineEdit& edit) {
      edit.setText(path);  // keyClicks can't type Japanese
      QTest::keyClick(&edit, Qt::Key_Return);
    };
  }

  QPushButton* buildButton() {
    return window.findChild<QPushButton*>(QStringLiteral("buildButton"));
  }
  // The track list as the window shows it: rows from 0, columns title and play time.
  const QAbstractItemModel& list() {
    return *window.findChild<QTableView*>(QStringLiteral("trackGrid"))->model();
  }
  int rows() { return list().rowCount(); }
  QString cell(int row, int column) { return list().index(row, column).data().toString(); }
  QString number(int row) { return list().headerData(row, Qt::Vertical).toString(); }

  QTemporaryDir root;
  platform::QtWindowSystem windowSystem{*qApp, QStringLiteral("orv-build-in-window-test")};
  QtMainWindow window{windowSystem};
  platform::QtOpenFileDialog dialog{&window};
  platform::PosixFileSystem fileSystem;
  platform::TagLibTrackDetails trackDetails;
  platform::PosixFolderLocks folderLocks;
  platform::FormControls controls = window.controls(dialog);
  MainForm form{controls,
                {.windowSystem = windowSystem,
                 .album = {.fileSystem = fileSystem,
                           .trackDetails = trackDetails,
                           .folderLocks = folderLocks,
                           .programFolder = kProgramFolder}}};
};

// The page expected for `lines` of data between the shipped templates.
QByteArray pageWith(const QStringList& lines) {
  QByteArray page = test::readFile(kProgramFolder + QStringLiteral("head.txt"));
  for (const QString& line : lines) page += test::sjis(line) + "\r\n";
  return page + test::readFile(kProgramFolder + QStringLiteral("tail.txt"));
}

TEST_F(BuildInWindowTest, AnAlbumIsRenamedShownAndWrittenAsItsPage) {
  const auto v23 = [](const QString& artist, const QString& title) {
    return test::id3v2Tag(
        3, {test::textFrame("TPE1", artist, Id3Encoding::kUtf16),
            test::textFrame("TIT2", title, Id3Encoding::kUtf16),
            test::textFrame("TALB", QStringLiteral("夏のアルバム"), Id3Encoding::kUtf16)});
  };
  const QString album = makeAlbum(
      QStringLiteral("私の アルバム"),
      {{QStringLiteral("01 はじまり.mp3"),
        v23(QStringLiteral("テスト歌手"), QStringLiteral(" はじまり "))},
       {QStringLiteral("02\u3000Second  Song.mp3"),
        test::id3v2Tag(3, {test::rawLatin1Frame("TIT2", test::sjis(QStringLiteral("二番目")))})},
       {QStringLiteral("03 untagged.mp3"), {}},
       {QStringLiteral("04.mp3"),
        v23(QStringLiteral("テスト歌手"), QStringLiteral("He said \"hi\""))}});
  test::writeFile(album + QStringLiteral("notes.txt"), "not an mp3");

  EXPECT_EQ(clickBuild(choose(album + QStringLiteral("03 untagged.mp3"))), 1);

  EXPECT_EQ(QDir(album).entryList(QDir::Files, QDir::Name),
            (QStringList{"01_はじまり.mp3", "02_Second__Song.mp3", "03_untagged.mp3", "04.mp3",
                         "disk.html", "jacket.jpg", "notes.txt"}));
  EXPECT_EQ(test::readFile(album + QStringLiteral("jacket.jpg")),
            test::readFile(kProgramFolder + QStringLiteral("jacket.jpg")));
  ASSERT_EQ(rows(), 4);
  const QStringList titles{"はじまり", "二番目", "タイトル情報なし", "He said 'hi'"};
  for (int r = 0; r < 4; ++r) {
    EXPECT_EQ(number(r), QString::number(r + 1));
    EXPECT_EQ(cell(r, 0), titles[r]);
    EXPECT_EQ(cell(r, 1), QStringLiteral("0:00:03"));
  }
  EXPECT_EQ(controls.albumTitleLabel.caption(), QStringLiteral("夏のアルバム"));
  EXPECT_EQ(controls.albumArtistLabel.caption(), QStringLiteral("テスト歌手"));
  EXPECT_EQ(controls.statusLabel.caption(), QStringLiteral("htmlを作成しました"));
  EXPECT_TRUE(buildButton()->isEnabled());
  EXPECT_NE(window.cursor().shape(), Qt::WaitCursor);

  EXPECT_EQ(test::readFile(album + QStringLiteral("disk.html")),
            pageWith({
                "var cnt = Number(3);",
                "cdtitle = new Array(cnt+1);",
                "cdartist = new Array(cnt+1);",
                "fil = new Array(cnt+1);",
                "bg_name = new Array(cnt+1);",
                "tim = new Array(cnt+1);",
                "num = new Array(cnt+1);",
                "cdtitle[0] = \"夏のアルバム\";",
                "cdtitle[1] = \"アルバムタイトルなし\";",
                "cdtitle[2] = \"アルバムタイトルなし\";",
                "cdtitle[3] = \"夏のアルバム\";",
                "cdartist[0] = \"テスト歌手\";",
                "cdartist[1] = \"アーティスト情報なし\";",
                "cdartist[2] = \"アーティスト情報なし\";",
                "cdartist[3] = \"テスト歌手\";",
                "fil[0] = \"01_はじまり.mp3\";",
                "fil[1] = \"02_Second__Song.mp3\";",
                "fil[2] = \"03_untagged.mp3\";",
                "fil[3] = \"04.mp3\";",
                "bg_name[0] = \"はじまり\";",
                "bg_name[1] = \"二番目\";",
                "bg_name[2] = \"タイトル情報なし\";",
                "bg_name[3] = \"He said 'hi'\";",
                "tim[0] = new Number(3000);",
                "tim[1] = new Number(3000);",
                "tim[2] = new Number(3000);",
                "tim[3] = new Number(3000);",
            }));
}

TEST_F(BuildInWindowTest, ASecondBuildReplacesWhatTheFirstShowedAndACancelChangesNothing) {
  const QString first = makeAlbum(QStringLiteral("first"), {{QStringLiteral("a.mp3"), {}},
                                                            {QStringLiteral("b.mp3"), {}},
                                                            {QStringLiteral("c.mp3"), {}}});
  const QString second =
      makeAlbum(QStringLiteral("second"),
                {{QStringLiteral("only one.mp3"),
                  test::id3v2TagByTagLib(QStringLiteral("歌手"), QStringLiteral("曲"),
                                         QStringLiteral("盤"))}});
  clickBuild(choose(first + QStringLiteral("a.mp3")));
  ASSERT_EQ(rows(), 3);

  clickBuild(choose(second + QStringLiteral("only one.mp3")));

  EXPECT_EQ(rows(), 1);
  EXPECT_EQ(cell(0, 0), QStringLiteral("曲"));
  EXPECT_EQ(controls.albumTitleLabel.caption(), QStringLiteral("盤"));
  EXPECT_EQ(controls.albumArtistLabel.caption(), QStringLiteral("歌手"));
  EXPECT_TRUE(QFile::exists(second + QStringLiteral("only_one.mp3")));
  const QByteArray page = test::readFile(second + QStringLiteral("disk.html"));
  EXPECT_TRUE(page.contains("var cnt = Number(0);\r\n"));

  test::writeFile(second + QStringLiteral("new file.mp3"), audio());
  EXPECT_EQ(clickBuild([](QFileDialog& d, QLineEdit&) { d.reject(); }), 1);

  EXPECT_EQ(rows(), 1);
  EXPECT_EQ(cell(0, 0), QStringLiteral("曲"));
  EXPECT_EQ(controls.statusLabel.caption(), QStringLiteral("htmlを作成しました"));
  EXPECT_EQ(test::readFile(second + QStringLiteral("disk.html")), page);
  EXPECT_TRUE(QFile::exists(second + QStringLiteral("new file.mp3")));
  EXPECT_TRUE(buildButton()->isEnabled());
}

// The window shows 8-bit texts as their album reads them: "Rock’n’Roll" alone would be
// Shift-JIS "Rock地坦oll", beside "Motörhead" it is Western.
TEST_F(BuildInWindowTest, EightBitTextsReadAsTheirAlbumReadsThem) {
  const auto western = [](const QString& title) {
    return test::id3v2Tag(3, {test::rawLatin1Frame("TIT2", test::windows1252(title)),
                              test::rawLatin1Frame("TPE1", test::windows1252(u"Motörhead"_s))});
  };
  const QString album =
      makeAlbum(QStringLiteral("rock"), {{QStringLiteral("1.mp3"), western(u"Rock’n’Roll"_s)},
                                         {QStringLiteral("2.mp3"), western(u"Eat the Rich"_s)}});

  clickBuild(choose(album + QStringLiteral("1.mp3")));

  ASSERT_EQ(rows(), 2);
  EXPECT_EQ(cell(0, 0), u"Rock’n’Roll"_s);
  EXPECT_EQ(controls.albumArtistLabel.caption(), u"Motörhead"_s);
}

TEST_F(BuildInWindowTest, ClicksAndACloseDuringTheBuildWaitForItsEnd) {
  const QString album = makeAlbum(QStringLiteral("album"), {{QStringLiteral("a b.mp3"), {}}});

  bool openAfterTheClose = false;
  const int dialogs = clickBuild([&](QFileDialog& d, QLineEdit& edit) {
    // The user clicks the build button again and the close box while the build runs.
    QMetaObject::invokeMethod(buildButton(), &QPushButton::click, Qt::QueuedConnection);
    QMetaObject::invokeMethod(&window, &QWidget::close, Qt::QueuedConnection);
    QMetaObject::invokeMethod(
        &window, [&] { openAfterTheClose = window.isVisible(); }, Qt::QueuedConnection);
    choose(album + QStringLiteral("a b.mp3"))(d, edit);
  });
  QTest::qWait(100);

  EXPECT_EQ(dialogs, 1);
  EXPECT_TRUE(openAfterTheClose);
  EXPECT_TRUE(QFile::exists(album + QStringLiteral("a_b.mp3")));
  EXPECT_TRUE(QFile::exists(album + QStringLiteral("disk.html")));
  EXPECT_EQ(controls.statusLabel.caption(), QStringLiteral("htmlを作成しました"));
  EXPECT_FALSE(window.isVisible());  // closed once the build was done
}

}  // namespace
}  // namespace orv
