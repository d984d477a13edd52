// Accidents to a running `orv --batch`, as users meet them: a kill at any moment (as a
// crash does), Ctrl-C, and two runs over the same library at once. Whatever happened,
// once a run has gone through to its end the library must be what one clean run makes of
// it: the same names, pages, covers and library page, and no file besides.
//
// The kill moments are random but seeded; ORV_ACCIDENTS sets how many libraries each
// test tries (a few by default, to stay quick), ORV_ACCIDENT_SEED the first seed.

#include "platform/posix/PosixFolderLocks.h"
#include "tests/batch/BatchRun.h"
#include "tests/support/Files.h"
#include "tests/support/TemporaryFolder.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <iostream>
#include <thread>

namespace orv::test {
namespace {

// Names with spaces whose order changes with the renames: " " lists before "-", "_" after.
const char* const kTracks[] = {"a b.mp3",
                               "a-c.mp3",
                               "b c d.mp3",
                               "b-a.mp3",
                               "c.mp3",
                               "d\xE3\x80\x80"
                               "e.mp3",
                               "e f g.mp3",
                               "e-f.mp3"};
constexpr int kAlbums = 6;

int fromEnvironment(const char* name, int otherwise) {
  bool ok = false;
  const int value = qEnvironmentVariableIntValue(name, &ok);
  return ok && value > 0 ? value : otherwise;
}

// `root`/lib, a library of spaced names, two albums to an artist.
QString makeLibrary(const QString& root) {
  const QString lib = root + QStringLiteral("/lib");
  for (int a = 0; a < kAlbums; ++a) {
    const QString album = QStringLiteral("Artist %1/Album %2").arg(a / 2).arg(a);
    const QString folder = lib + u'/' + album + u'/';
    if (!QDir().mkpath(folder)) throw std::runtime_error("no album folder");
    for (const char* name : kTracks)
      writeFile(folder + QString::fromUtf8(name), track(name, album));
  }
  return lib;
}

// What `after` holds that `clean` doesn't ("+"), lacks ("-") or holds otherwise ("~").
QStringList differences(const TreeSnapshot& clean, const TreeSnapshot& after) {
  QStringList found;
  for (const auto& [path, content] : after) {
    const auto it = clean.find(path);
    if (it == clean.end()) {
      found << "+" + QString::fromUtf8(path);
    } else if (it->second != content) {
      found << "~" + QString::fromUtf8(path);
    }
  }
  for (const auto& [path, content] : clean) {
    if (after.count(path) == 0) found << "-" + QString::fromUtf8(path);
  }
  return found;
}

// The differences, told by kind: "2 stray files, 1 page, 1 cover, index page".
QString told(const QStringList& differences) {
  int stray = 0, pages = 0, covers = 0, names = 0, index = 0;
  for (const QString& d : differences) {
    if (d.startsWith(u'+') &&
        (d.contains(QStringLiteral("/.")) || d.startsWith(QStringLiteral("+.")))) {
      ++stray;
    } else if (d.contains(QStringLiteral("index.html"))) {
      ++index;
    } else if (d.endsWith(QStringLiteral("disk.html"))) {
      ++pages;
    } else if (d.endsWith(QStringLiteral("jacket.jpg"))) {
      ++covers;
    } else {
      ++names;
    }
  }
  QStringList parts;
  if (stray) parts << QStringLiteral("%1 stray files").arg(stray);
  if (pages) parts << QStringLiteral("%1 pages").arg(pages);
  if (covers) parts << QStringLiteral("%1 covers").arg(covers);
  if (names) parts << QStringLiteral("%1 other names").arg(names);
  if (index) parts << QStringLiteral("index page");
  return parts.isEmpty() ? QStringLiteral("nothing") : parts.join(QStringLiteral(", "));
}

struct Accident {
  const char* what;
  std::vector<int> sent;  // the signals, one after the other, at the chosen moment
};

class AccidentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    pristine = makeLibrary(dir.path() + QStringLiteral("/pristine"));
    // The clean run, which also times a whole run for the kill moments.
    copyTree(dir.path() + QStringLiteral("/pristine"), dir.path() + QStringLiteral("/clean"));
    QElapsedTimer clock;
    clock.start();
    const Ran run = orv(arguments(dir.path() + QStringLiteral("/clean")));
    runMilliseconds = clock.elapsed();
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    clean = snapshotTree(dir.path() + QStringLiteral("/clean"));
  }

  // The whole library, with its library page beside it.
  static QStringList arguments(const QString& root) {
    return {QStringLiteral("-r"), QStringLiteral("--index"), root + QStringLiteral("/index.html"),
            root + QStringLiteral("/lib")};
  }

  // A fresh copy of the library at `root`.
  QString copyLibrary(int number) {
    const QString root = dir.path() + QStringLiteral("/run%1").arg(number);
    EXPECT_TRUE(QDir().mkpath(root));
    copyTree(dir.path() + QStringLiteral("/pristine/lib"), root + QStringLiteral("/lib"));
    return root;
  }

  // Runs the accident on `tries` copies of the library, each at a random moment of the
  // run, then runs again to the end, and compares each library with the clean one.
  void survive(const Accident& accident, int tries) {
    const int firstSeed = fromEnvironment("ORV_ACCIDENT_SEED", 19);
    for (int i = 0; i < tries; ++i) {
      const int seed = firstSeed + i;
      QRandomGenerator random(static_cast<quint32>(seed));
      const int moment = random.bounded(int(runMilliseconds * 6 / 5) + 1);
      const QString root = copyLibrary(seed);
      SCOPED_TRACE(QStringLiteral("%1 after %2 ms (seed %3)")
                       .arg(accident.what)
                       .arg(moment)
                       .arg(seed)
                       .toStdString());

      QProcess run;
      startOrv(run, arguments(root));
      std::this_thread::sleep_for(std::chrono::milliseconds(moment));
      for (const int sig : accident.sent) ::kill(static_cast<pid_t>(run.processId()), sig);
      const Ran accidental = finished(run);
      const TreeSnapshot left = snapshotTree(root);

      const Ran again = orv(arguments(root));
      EXPECT_EQ(again.exitCode, 0) << again.out.toStdString() << again.err.toStdString();
      const QStringList wrong = differences(clean, snapshotTree(root));
      EXPECT_TRUE(wrong.isEmpty()) << wrong.join(u' ').toStdString();

      // What the accident left that differs from the clean library (albums not built yet
      // included), and what a second run does not mend.
      std::cout << accident.what << " after " << moment << " of " << runMilliseconds << " ms (seed "
                << seed << "), exit " << accidental.exitCode << ": left "
                << told(differences(clean, left)).toStdString() << "; after a second run "
                << told(wrong).toStdString() << "\n";
      if (!removeTree(root)) ADD_FAILURE() << "could not remove " << root.toStdString();
    }
  }

  TemporaryFolder dir;
  QString pristine;
  qint64 runMilliseconds = 0;
  TreeSnapshot clean;
};

TEST_F(AccidentTest, AKillAtAnyMomentLeavesNothingASecondRunDoesNotMend) {
  survive({"SIGKILL", {SIGKILL}}, fromEnvironment("ORV_ACCIDENTS", 4));
}

TEST_F(AccidentTest, CtrlCOnceOrTwiceLeavesNothingASecondRunDoesNotMend) {
  survive({"SIGINT", {SIGINT}}, fromEnvironment("ORV_ACCIDENTS", 2));
  survive({"SIGINT twice", {SIGINT, SIGINT}}, fromEnvironment("ORV_ACCIDENTS", 1));
}

// Ctrl-C or SIGTERM while an album waits for another Orv (a window building it): the
// album built is printed, no album starts any more, the summary counts them, and the
// library page stays as it was.
TEST_F(AccidentTest, AnInterruptedRunStartsNoMoreAlbumsAndLeavesTheLibraryPage) {
  const QByteArray earlierPage = readFile(dir.path() + QStringLiteral("/clean/index.html"));
  const struct {
    int sent;
    int exitCode;
  } cases[] = {{SIGINT, 130}, {SIGTERM, 143}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sent);
    const QString root = copyLibrary(200 + c.sent);
    const QString index = root + QStringLiteral("/index.html");
    writeFile(index, earlierPage);
    const QString waiting = root + QStringLiteral("/lib/Artist 0/Album 1/");
    platform::PosixFolderLocks locks;
    const auto window = locks.lock(waiting, [] { return true; });

    QProcess run;
    startOrv(run, arguments(root) << QStringLiteral("-j1"));
    while (!run.peek(1 << 16).contains('\n')) ASSERT_TRUE(run.waitForReadyRead(30000));
    ::kill(static_cast<pid_t>(run.processId()), c.sent);
    const Ran interrupted = finished(run);

    EXPECT_EQ(interrupted.exitCode, c.exitCode) << interrupted.err.toStdString();
    EXPECT_EQ(interrupted.out,
              QStringLiteral("作成      8曲   0:00:08  %1/lib/Artist 0/Album 0\n").arg(root));
    EXPECT_TRUE(interrupted.err.startsWith(QStringLiteral("作成 1、失敗 0、未着手 5（中断）、")))
        << interrupted.err.toStdString();
    EXPECT_TRUE(interrupted.err.endsWith(
        QStringLiteral("中断したため、一覧ページ %1 はそのままにしました。\n").arg(index)))
        << interrupted.err.toStdString();
    EXPECT_EQ(readFile(index), earlierPage);
    EXPECT_TRUE(QFile::exists(waiting + QStringLiteral("a b.mp3")));
  }
}

TEST_F(AccidentTest, TwoRunsAtOnceBothSucceedAndLeaveTheCleanLibrary) {
  for (int i = 0; i < fromEnvironment("ORV_ACCIDENTS", 2); ++i) {
    const QString root = copyLibrary(100 + i);
    QProcess first, second;
    startOrv(first, arguments(root));
    startOrv(second, arguments(root) << QStringLiteral("-j1"));
    const Ran a = finished(first);
    const Ran b = finished(second);

    EXPECT_EQ(a.exitCode, 0) << a.out.toStdString() << a.err.toStdString();
    EXPECT_EQ(b.exitCode, 0) << b.out.toStdString() << b.err.toStdString();
    const QStringList wrong = differences(clean, snapshotTree(root));
    EXPECT_TRUE(wrong.isEmpty()) << wrong.join(u' ').toStdString();
    std::cout << "two runs at once: exit " << a.exitCode << " and " << b.exitCode << ", "
              << told(wrong).toStdString() << " differs\n";
    if (!removeTree(root)) ADD_FAILURE() << "could not remove " << root.toStdString();
  }
}

}  // namespace
}  // namespace orv::test
