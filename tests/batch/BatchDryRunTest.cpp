// The dry run of `orv --batch`, on the generated library (BatchLibrary.h): it changes
// nothing and foretells what the real run does, refuses and completes.

#include "tests/batch/BatchLibrary.h"
#include "tests/batch/BatchRun.h"
#include "tests/support/Files.h"
#include "tests/support/Unprivileged.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <functional>

namespace orv::test {
namespace {

TEST_F(BatchTest, ADryRunChangesNothingAndForetellsTheRealRun) {
  const TreeSnapshot before = snapshotTree(lib);

  const Ran dry = orv({QStringLiteral("-rn"), lib});
  const Ran dryJson =
      orv({QStringLiteral("--dry-run"), QStringLiteral("-r"), QStringLiteral("--json"), lib});

  EXPECT_EQ(snapshotTree(lib), before);
  EXPECT_EQ(dry.exitCode, 1);
  const QString albumOne = lib + QStringLiteral("/Artist A/Album One");
  EXPECT_TRUE(
      dry.out.startsWith(QStringLiteral("予定      3曲   0:00:03  %1\n"
                                        "    名前の変更: 01 Intro.mp3 → 01_Intro.mp3\n"
                                        "    名前の変更: 02 Second Song.mp3 → 02_Second_Song.mp3\n"
                                        "    名前の変更: 03\u3000Third.mp3 → 03_Third.mp3\n"
                                        "    書き込み: %1/disk.html\n"
                                        "    コピー: %1/jacket.jpg\n"
                                        "予定      2曲   0:00:02  %2/Artist A/Album Two\n"
                                        "    書き込み: %2/Artist A/Album Two/disk.html\n")
                             .arg(albumOne, lib)))
      << dry.out.toStdString();
  EXPECT_TRUE(dry.err.startsWith(QStringLiteral("作成予定 2、失敗 3、"))) << dry.err.toStdString();

  // What the dry run foretold is what the real run does.
  const Ran real = orv({QStringLiteral("-r"), QStringLiteral("--json"), lib});
  EXPECT_EQ(
      QString(dryJson.out).replace(QStringLiteral("\"planned\""), QStringLiteral("\"built\"")),
      real.out);
}

// What the real run refuses or completes on disk, the dry run foretells by the same rules.
TEST_F(BatchTest, ADryRunForetellsWhatTheDiskRefusesOrCompletes) {
  const QString album = dir.path() + QStringLiteral("/album/");
  const auto at = [&](const char* name) { return QFile::encodeName(album) + name; };
  const auto make = [&](const char* name) { writeFileAt(at(name), track("Song", "Album")); };
  const auto ok = [](int result) { ASSERT_EQ(result, 0) << "errno " << errno; };
  const struct {
    const char* what;
    std::function<void()> prepare;
    int error;           // 0: built
    const char* reason;  // of the page's refusal
  } cases[] = {
      {"a page written by no one",
       [&] {
         make("a.mp3");
         writeFileAt(at("disk.html"), "the user's page");
         ok(::chmod(at("disk.html").constData(), 0444));
       },
       75, "読み取り専用"},
      {"a page that is a link",
       [&] {
         make("a.mp3");
         writeFileAt(at("mine.html"), "the user's page");
         ok(::symlink("mine.html", at("disk.html").constData()));
       },
       75, "シンボリックリンク"},
      {"a rename cut off midway",
       [&] {
         make("a b.mp3");
         ok(::link(at("a b.mp3").constData(), at("a_b.mp3").constData()));
       },
       0, ""},
      {"a new name taken by a link leading nowhere",
       [&] {
         make("a b.mp3");
         ok(::symlink("gone.mp3", at("a_b.mp3").constData()));
       },
       58, ""},
      {"a folder in the cover's place",
       [&] {
         make("a.mp3");
         ok(::mkdir(at("jacket.jpg").constData(), 0755));
       },
       58, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(removeTree(album));
    ASSERT_TRUE(QDir().mkpath(album));
    c.prepare();
    const TreeSnapshot before = snapshotTree(album);

    const Ran dry = orv({QStringLiteral("-n"), QStringLiteral("--json"), album});
    EXPECT_EQ(snapshotTree(album), before);
    const Ran real = orv({QStringLiteral("--json"), album});
    EXPECT_EQ(QString(dry.out).replace(QStringLiteral("\"planned\""), QStringLiteral("\"built\"")),
              real.out);
    const QList<QJsonObject> outcome = jsonLines(real.out);
    ASSERT_EQ(outcome.size(), 1);
    EXPECT_EQ(outcome[0]["error_number"].toInt(), c.error) << real.out.toStdString();
    if (*c.reason) {
      EXPECT_EQ(outcome[0]["error"].toString(),
                QStringLiteral("ファイル %1disk.html は%2のため書き込めません。")
                    .arg(album, QString::fromUtf8(c.reason)));
      EXPECT_EQ(readFile(album + "disk.html"), "the user's page");
    }
  }
}

// A folder that takes no change (read-only; on a read-only mount alike): the dry run
// foretells what the real run meets (a killed build's leftover, which can't go, changes
// nothing of that), the library page's check refuses it before any album is built, and
// nothing is changed.
TEST_F(BatchTest, AFolderThatTakesNoChangeIsForetold) {
  const QString shut = dir.path() + QStringLiteral("/shut/");
  const QString open = dir.path() + QStringLiteral("/open/");
  for (const QString& album : {shut + "renames/", shut + "page only/", open}) {
    ASSERT_TRUE(QDir().mkpath(album));
    writeFile(album + (album.endsWith(u"renames/") ? "a b.mp3" : "a.mp3"), track("Song", "Album"));
  }
  writeFile(shut + "page only/.disk.html.orv-0000000000abc", "cut off");
  asUnprivilegedUser(dir.path(), [&] {
    for (const QString& folder : {shut + "renames/", shut + "page only/", shut}) {
      ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0555), 0);
    }
    const TreeSnapshot before = snapshotTree(dir.path());

    for (const QString& album : {shut + "renames/", shut + "page only/"}) {
      SCOPED_TRACE(album.toStdString());
      const Ran dry = orv({QStringLiteral("-n"), QStringLiteral("--json"), album});
      const Ran real = orv({QStringLiteral("--json"), album});
      EXPECT_EQ(dry.exitCode, 1);
      EXPECT_EQ(real.exitCode, 1);
      EXPECT_EQ(dry.out.toStdString(), real.out.toStdString());
      const QList<QJsonObject> outcome = jsonLines(real.out);
      ASSERT_EQ(outcome.size(), 1);
      EXPECT_EQ(outcome[0]["error_number"].toInt(), 70) << real.out.toStdString();
    }
    for (const QStringList& run : {QStringList{"--index", shut + "index.html", open},
                                   QStringList{"-n", "--index", shut + "index.html", open}}) {
      const Ran refused = orv(run);
      EXPECT_EQ(refused.exitCode, 2);
      EXPECT_TRUE(refused.err.startsWith(
          QStringLiteral("orv: フォルダー %1 に index.html を書き込めません（").arg(shut)))
          << refused.err.toStdString();
    }
    EXPECT_EQ(snapshotTree(dir.path()), before);
    for (const QString& folder : {shut + "renames/", shut + "page only/", shut}) {
      ::chmod(QFile::encodeName(folder).constData(), 0755);
    }
  });
}

}  // namespace
}  // namespace orv::test
