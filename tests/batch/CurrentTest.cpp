// A library that keeps itself current, through the real program: what a run builds again
// after each change and which files it writes (none else, by inode and time), as its dry
// run foretold without writing anything; the record of builds missing, damaged, of
// another version and unwritable; and --watch over an album copied in slowly, then Ctrl-C.

#include "tests/batch/BatchRun.h"
#include "tests/support/Files.h"
#include "tests/support/TemporaryFolder.h"
#include "tests/support/Unprivileged.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <functional>
#include <map>
#include <set>

namespace orv::test {
namespace {

// Every file below `folder` by its path relative to it, with what a write changes.
std::map<QString, std::tuple<ino_t, qint64, qint64>> writtenFiles(const QString& folder) {
  std::map<QString, std::tuple<ino_t, qint64, qint64>> files;
  for (QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
       it.hasNext();) {
    const QString path = it.next();
    struct stat st {};
    ::lstat(QFile::encodeName(path).constData(), &st);
    const auto ns = [](const timespec& t) { return qint64(t.tv_sec) * 1'000'000'000 + t.tv_nsec; };
    files[path.sliced(folder.size())] = {st.st_ino, ns(st.st_mtim), ns(st.st_ctim)};
  }
  return files;
}

// The files that are new or were written between the two.
QStringList written(const std::map<QString, std::tuple<ino_t, qint64, qint64>>& before,
                    const std::map<QString, std::tuple<ino_t, qint64, qint64>>& after) {
  QStringList paths;
  for (const auto& [path, identity] : after) {
    const auto it = before.find(path);
    if (it == before.end() || it->second != identity) paths << path;
  }
  return paths;
}

class CurrentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    // A program folder of the test's own, whose templates it may change.
    ASSERT_TRUE(QDir().mkpath(program));
    for (const char* name : {"orv", "head.txt", "tail.txt", "jacket.jpg"}) {
      ASSERT_TRUE(QFile::copy(kProgramFolder + name, program + name)) << name;
    }
    for (const char* album : {"A", "B", "C"}) {
      for (const char* track : {"1.mp3", "2.mp3"}) addTrack(album, track, "Song");
    }
  }

  void addTrack(const QString& album, const QString& name, const QString& title) {
    ASSERT_TRUE(QDir().mkpath(lib + album));
    writeFile(lib + album + u'/' + name, test::track(title, album));
  }

  Ran run(const QStringList& arguments, const QString& cacheFolder = {}) {
    QProcessEnvironment env;
    env.insert(QStringLiteral("XDG_CACHE_HOME"), cacheFolder.isEmpty() ? cache : cacheFolder);
    return runWithoutDisplay(
        program + QStringLiteral("orv"),
        QStringList{"--batch", "-r", "--json", "--index=" + lib + "index.html"} + arguments +
            QStringList{lib},
        dir.path(), env);
  }

  // Each album's status by its folder's name.
  std::map<QString, QString> statuses(const Ran& ran) {
    std::map<QString, QString> found;
    for (const QString& line : ran.out.split(u'\n', Qt::SkipEmptyParts)) {
      const QJsonObject album = QJsonDocument::fromJson(line.toUtf8()).object();
      found[album["folder"].toString().section(u'/', -1)] = album["status"].toString();
    }
    return found;
  }

  TemporaryFolder dir;
  const QString program = dir.path() + QStringLiteral("/program/");
  const QString lib = dir.path() + QStringLiteral("/lib/");
  const QString cache = dir.path() + QStringLiteral("/cache");
};

TEST_F(CurrentTest, EachChangeBuildsWhatItChangedAndWritesNothingElse) {
  ASSERT_EQ(run({}).exitCode, 0);
  const auto setTime = [&](const QString& path, const timespec& modified) {
    const timespec times[] = {modified, modified};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
  };
  const struct {
    const char* what;
    std::function<void()> change;
    QStringList options;
    QStringList built;    // the others are current
    QStringList written;  // below the library
  } changes[] = {
      {"nothing", [] {}, {}, {}, {}},
      {"a retag", [&] { addTrack("B", "2.mp3", "Another song"); }, {}, {"B"}, {"B/disk.html"}},
      {"a retag that keeps the modification time",
       [&] {
         struct stat st {};
         ::stat(QFile::encodeName(lib + "B/2.mp3").constData(), &st);
         addTrack("B", "2.mp3", "Anothor song");  // as long as before
         ASSERT_EQ(QFileInfo(lib + "B/2.mp3").size(), st.st_size);
         setTime(lib + "B/2.mp3", st.st_mtim);
       },
       {},
       {"B"},
       {"B/disk.html"}},
      {"a renamed track",
       [&] { ASSERT_TRUE(QFile::rename(lib + "C/2.mp3", lib + "C/3.mp3")); },
       {},
       {"C"},
       {"C/disk.html"}},
      {"an added track",
       [&] { addTrack("A", "3.mp3", "Song"); },
       {},
       {"A"},
       {"A/disk.html", "index.html"}},
      {"a new album",
       [&] { addTrack("D", "1.mp3", "Song"); },
       {},
       {"D"},
       {"D/disk.html", "D/jacket.jpg", "index.html"}},
      {"a removed album", [&] { ASSERT_TRUE(removeTree(lib + "C")); }, {}, {}, {"index.html"}},
      {"a template changed",
       [&] { writeFile(program + "tail.txt", readFile(program + "tail.txt") + "<!-- -->\r\n"); },
       {},
       {"A", "B", "D"},
       {"A/disk.html", "B/disk.html", "D/disk.html"}},
      // Built again, each to the very page it had.
      {"--force", [] {}, {"--force"}, {"A", "B", "D"}, {}},
      {"--covers added", [] {}, {"--covers"}, {"A", "B", "D"}, {}},
      {"nothing, with --covers", [] {}, {"--covers"}, {}, {}},
  };
  for (const auto& c : changes) {
    SCOPED_TRACE(c.what);
    c.change();
    const auto before = writtenFiles(lib);
    const auto record = writtenFiles(cache);

    // The dry run reads the record, foretells the run, and writes nothing, the record too.
    const Ran dry = run(c.options + QStringList{"-n"});
    EXPECT_EQ(written(before, writtenFiles(lib)), QStringList());
    EXPECT_EQ(writtenFiles(cache), record);
    const Ran ran = run(c.options);

    EXPECT_EQ(ran.exitCode, 0) << ran.err.toStdString();
    std::map<QString, QString> expected;
    for (const QString& album : QDir(lib).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
      if (QDir(lib + album).entryList({"*.mp3"}).isEmpty()) continue;  // the covers' copies
      expected[album] = c.built.contains(album) ? "built" : "current";
    }
    EXPECT_EQ(statuses(ran), expected) << ran.out.toStdString();
    EXPECT_EQ(QString(dry.out).replace("\"planned\"", "\"built\""), ran.out);
    EXPECT_EQ(written(before, writtenFiles(lib)), c.written);
  }
}

TEST_F(CurrentTest, ARecordThatCantBeUsedIsToldAndTheRunBuildsEveryAlbum) {
  const QString record = cache + QStringLiteral("/orv/builds.sqlite");
  const auto setLayout = [&](int layout) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(record).constData(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, qPrintable(QStringLiteral("PRAGMA user_version = %1").arg(layout)),
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
  };
  const struct {
    const char* what;
    std::function<void()> spoil;
    QString told;  // the line on standard error
  } cases[] = {
      {"missing", [&] { ASSERT_TRUE(removeTree(cache)); }, {}},
      {"damaged", [&] { writeFile(record, QByteArray(8192, 'x')); },
       "orv: 作成の記録 " + record + " が壊れていたため、新しく作り直しました。"},
      {"of another version", [&] { setLayout(99); },
       "orv: 作成の記録 " + record + " は別の版の Orv のものだったため、新しく作り直しました。"},
  };
  ASSERT_EQ(run({}).exitCode, 0);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    c.spoil();
    const auto before = writtenFiles(lib);

    const Ran full = run({});
    const Ran again = run({});

    EXPECT_EQ(full.exitCode, 0);
    EXPECT_EQ(statuses(full),
              (std::map<QString, QString>{{"A", "built"}, {"B", "built"}, {"C", "built"}}));
    EXPECT_EQ(full.err.count(QStringLiteral("作成の記録")), c.told.isEmpty() ? 0 : 1);
    EXPECT_TRUE(full.err.startsWith(c.told)) << full.err.toStdString();
    EXPECT_EQ(written(before, writtenFiles(lib)), QStringList());
    EXPECT_EQ(statuses(again),
              (std::map<QString, QString>{{"A", "current"}, {"B", "current"}, {"C", "current"}}));
    EXPECT_FALSE(again.err.contains(QStringLiteral("作成の記録")));
  }

  // A home that takes no file: told, and every album built as if there were no record.
  asUnprivilegedUser(dir.path(), [&] {
    const QString home = dir.path() + QStringLiteral("/home");
    ASSERT_TRUE(QDir().mkpath(home));
    ASSERT_EQ(::chmod(QFile::encodeName(home).constData(), 0555), 0);
    const Ran ran = run({}, home + QStringLiteral("/.cache"));
    EXPECT_EQ(ran.exitCode, 0) << ran.err.toStdString();
    EXPECT_EQ(statuses(ran),
              (std::map<QString, QString>{{"A", "built"}, {"B", "built"}, {"C", "built"}}));
    EXPECT_TRUE(ran.err.startsWith(
        QStringLiteral("orv: 作成の記録のフォルダー %1/.cache/orv を作れません（").arg(home)))
        << ran.err.toStdString();
    EXPECT_TRUE(ran.err.contains(QStringLiteral("）。作成の記録なしで続けます。\n")));
  });
}

TEST_F(CurrentTest, TheWatchBuildsAnAlbumCopiedInSlowlyOnceItIsWholeUntilCtrlC) {
  QProcess watch;
  QProcessEnvironment env;
  env.insert(QStringLiteral("XDG_CACHE_HOME"), cache);
  startWithoutDisplay(watch, program + QStringLiteral("orv"),
                      {"--batch", "-rw", "--json", "--index", lib + "index.html", lib}, dir.path(),
                      env);
  QString err;
  // Waits, up to a generous bound, for what the watch should come to.
  const auto waitFor = [&](const std::function<bool()>& done) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 30000) {
      watch.waitForReadyRead(100);
      err += QString::fromUtf8(watch.readAllStandardError());
    }
    return done();
  };
  ASSERT_TRUE(waitFor([&] { return err.contains(QStringLiteral("見張っています")); }))
      << err.toStdString();

  // Copied slowly: pauses shorter than the quiet time, in a track and between tracks.
  const QByteArray first = track("One", "New"), second = track("Two", "New");
  ASSERT_TRUE(QDir().mkpath(lib + "New"));
  for (const QByteArray* bytes : {&first, &second}) {
    QFile file(lib + (bytes == &first ? "New/1.mp3" : "New/2.mp3"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes->left(bytes->size() / 2));
    file.flush();
    QThread::msleep(700);
    file.write(bytes->sliced(bytes->size() / 2));
    file.close();
    QThread::msleep(700);
  }
  const auto listed = [&](const char* folder) {
    return readFile(lib + "index.html").contains(QByteArray(R"("folder":")") + folder + '"');
  };
  EXPECT_TRUE(waitFor([&] { return listed("New"); }));
  ASSERT_TRUE(removeTree(lib + "B"));
  EXPECT_TRUE(waitFor([&] { return !listed("B"); }));
  ::kill(static_cast<pid_t>(watch.processId()), SIGINT);
  const Ran ended = finished(watch);

  EXPECT_EQ(ended.exitCode, 130) << (err + ended.err).toStdString();
  // One line for each album of the first pass, and one for the new album, whole.
  QStringList lines;
  for (const QString& line : ended.out.split(u'\n', Qt::SkipEmptyParts)) {
    const QJsonObject album = QJsonDocument::fromJson(line.toUtf8()).object();
    lines << QStringLiteral("%1 %2 %3")
                 .arg(album["folder"].toString().section(u'/', -1), album["status"].toString())
                 .arg(album["tracks"].toInt());
  }
  EXPECT_EQ(lines, QStringList({"A built 2", "B built 2", "C built 2", "New built 2"}));
  EXPECT_TRUE(QFile::exists(lib + "New/disk.html"));
  EXPECT_TRUE(listed("A") && listed("C") && listed("New"));
}

}  // namespace
}  // namespace orv::test
