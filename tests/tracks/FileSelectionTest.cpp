#include "tracks/FileSelection.h"

#include "tests/support/Errors.h"
#include "tests/support/Fakes.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using test::FakeOpenFileDialog;

// A dialog whose ShowOpen fails with another error than a cancel, once armed.
class FailingDialog : public FakeOpenFileDialog {
 public:
  bool fail = false;
  void ShowOpen() override {
    if (fail) throw RuntimeError(ErrorCode::kPathNotFound);
    FakeOpenFileDialog::ShowOpen();
  }
};

TEST(SelectMp3FileTest, ReturnsTheChosenPathWithTheDialogSetUp) {
  FakeOpenFileDialog dialog;
  dialog.answers = {{QStringLiteral("/music/my album/01 Intro.mp3")}};
  EXPECT_EQ(SelectMp3File(dialog), QStringLiteral("/music/my album/01 Intro.mp3"));
  EXPECT_TRUE(dialog.cancelError);
  EXPECT_EQ(dialog.filter, QStringLiteral("mp3ファイル|*.mp3"));
  EXPECT_EQ(dialog.shown, 1);
}

TEST(SelectMp3FileTest, CancelGivesAnEmptyPathEvenAfterAnEarlierChoice) {
  FakeOpenFileDialog dialog;
  dialog.answers = {{QStringLiteral("/music/a.mp3")}, {{}, true}};
  EXPECT_EQ(SelectMp3File(dialog), QStringLiteral("/music/a.mp3"));
  EXPECT_EQ(SelectMp3File(dialog), QString());
}

TEST(SelectMp3FileTest, AnyOtherErrorIsPassedOverAndTheDialogsNameTaken) {
  FailingDialog dialog;
  dialog.answers = {{QStringLiteral("/music/a.mp3")}};
  EXPECT_EQ(SelectMp3File(dialog), QStringLiteral("/music/a.mp3"));
  dialog.fail = true;
  EXPECT_EQ(SelectMp3File(dialog), QStringLiteral("/music/a.mp3"));
}

TEST(DeriveAlbumFolderTest, CutsAfterTheLastSlash) {
  const struct {
    QString path;
    QString folder;
  } cases[] = {
      {"/music/Album/01 Intro.mp3", "/music/Album/"},
      {"/song.mp3", "/"},
      {"/my music/v1.2 the album./a b.c.mp3", "/my music/v1.2 the album./"},
      {"/Music/ Album /", "/Music/ Album /"},
      {"song.mp3", "previous/"},  // no "/": unchanged
      {"", "previous/"},
      {"C:\\Music\\Album\\01.mp3", "previous/"},  // a backslash is no separator here
  };
  for (const auto& c : cases) {
    QString folder = QStringLiteral("previous/");
    DeriveAlbumFolder(c.path, folder);
    EXPECT_EQ(folder, c.folder) << c.path.toStdString();
  }
}

TEST(DeriveAlbumFolderTest, APathLongerThan32767CharactersOverflows) {
  QString folder;
  const QString longest = QStringLiteral("/") + QString(32766, u'a');
  DeriveAlbumFolder(longest, folder);
  EXPECT_EQ(folder, QStringLiteral("/"));
  EXPECT_EQ(test::errorOf([&] { DeriveAlbumFolder(longest + u'a', folder); }).number(), 6);
}

}  // namespace
}  // namespace orv
