// The batch's own lines: names with control characters, and the progress line, which is
// drawn only on a terminal.

#include "batch/BatchOutput.h"
#include "platform/posix/PosixFolderLocks.h"
#include "tests/batch/BatchRun.h"
#include "tests/support/Files.h"
#include "tests/support/TemporaryFolder.h"

#include <QProcess>

#include <gtest/gtest.h>

namespace orv::test {
namespace {

TEST(BatchLines, ControlCharactersAreWrittenOut) {
  const struct {
    QString text;
    QString shown;
  } cases[] = {
      {"tab\tbell\a line\nend", R"(tab\tbell\x07 line\nend)"},
      {"cr\rlf\n", R"(cr\rlf\n)"},
      {QStringLiteral("esc\x1b[2Jdel\x7f"), R"(esc\x1b[2Jdel\x7f)"},
      {QStringLiteral("next line\u0085"), R"(next line\x85)"},
      {"back\\slash 夜　明け", "back\\slash 夜　明け"},  // as it is
  };
  for (const auto& c : cases) EXPECT_EQ(batch::lineText(c.text), c.shown) << c.shown.toStdString();

  batch::AlbumOutcome failed{
      batch::AlbumStatus::kFailed, {.folder = "/m/a\nb/"}, 58, "「/m/a\nb/x」が…\r\n二行目"};
  EXPECT_EQ(
      batch::albumLines(failed, false),
      R"(失敗      0曲         -  /m/a\nb  エラー 58: 「/m/a\nb/x」が… 二行目)" + QString(u'\n'));
}

TEST(BatchLines, TheProgressLineTellsOfAlbumsWaitingForAnotherBuild) {
  const QString longFolder = "/music/" + QString(60, u'x') + "/Album/";
  const struct {
    int done;
    QStringList waiting;
    QString line;
  } cases[] = {
      {3, {}, "アルバム 3/10、120 曲、経過 0:05、残り 約 0:12"},
      {0, {}, "アルバム 0/10、120 曲、経過 0:05"},
      {10, {}, "アルバム 10/10、120 曲、経過 0:05"},
      {3, {"/m/A/"}, "アルバム 3/10、120 曲、経過 0:05、別の Orv の作成待ち: /m/A"},
      {3,
       {"/m/A\n/", "/m/B/"},
       R"(アルバム 3/10、120 曲、経過 0:05、別の Orv の作成待ち: /m/A\n ほか 1 件)"},
      {3,
       {longFolder},
       "アルバム 3/10、120 曲、経過 0:05、別の Orv の作成待ち: …" + QString(33, u'x') + "/Album"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(batch::progressLine(c.done, 10, 120, 5.0, c.waiting), c.line);
  }
}

// The real program on a terminal of its own (script's), while another build holds the
// album: the progress line says whom it waits for.
TEST(BatchLines, OnATerminalTheProgressLineNamesTheAlbumThatWaits) {
  TemporaryFolder dir;
  const QString album = dir.path() + QStringLiteral("/Album/");
  ASSERT_TRUE(QDir().mkpath(album));
  writeFile(album + QStringLiteral("a.mp3"), track("Song", "Album"));
  platform::PosixFolderLocks locks;
  auto other = locks.lock(album, [] { return true; });

  QProcess run;
  run.start(QStringLiteral("script"),
            {"-qfec", QStringLiteral("'%1' --batch '%2'").arg(ORV_EXECUTABLE, album), "/dev/null"});
  const QByteArray waiting = (QStringLiteral("別の Orv の作成待ち: ") + album.chopped(1)).toUtf8();
  while (!run.peek(1 << 20).contains(waiting)) ASSERT_TRUE(run.waitForReadyRead(30000));
  other.reset();

  ASSERT_TRUE(run.waitForFinished(60000));
  EXPECT_EQ(run.exitCode(), 0);
  EXPECT_TRUE(run.readAll().contains(
      (QStringLiteral("作成      1曲   0:00:01  ") + album.chopped(1)).toUtf8()));
}

}  // namespace
}  // namespace orv::test
