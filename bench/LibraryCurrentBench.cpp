// The library kept current (library_bench rerun|watch), through the real program:
//
//   rerun [ALBUMS TRACKS]   (4,000 albums of 25 tracks)
//       a full run of `orv --batch -r --index`, then a re-run over the unchanged library:
//       their times, the ratio, and every file or folder of the library the re-run wrote
//       (by inode, times and size); then one track retagged and the files that run wrote.
//       LIBRARY_BENCH_ORV=PROGRAM runs another orv (an earlier build) the same way.
//   watch [ALBUMS TRACKS]   (400 albums of 25 tracks)
//       `orv --batch -rw --index` over the library: how soon an album copied in is on
//       the library page after the copy's end (5 albums), the processor time it takes idle
//       (LIBRARY_BENCH_IDLE seconds, 60 by default), and its memory (resident set) before
//       and after 1,000 album changes (20 rounds of 50 albums retagged at once).
//
// The library lies in a new folder in the working folder (run it from /dev/shm to leave
// out the disk), with the record of builds beside it; LIBRARY_BENCH_KEEP=1 keeps it.

#include "bench/LibraryCurrentBench.h"

#include "tests/mp3/Mp3Files.h"
#include "tests/support/Files.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <tuple>

namespace {

struct Library {
  QString root, lib, cache;
  int albums = 0, tracks = 0;
};

QString albumOf(const Library& l, int a) {
  return QStringLiteral("%1/Artist%2/Album%3/")
      .arg(l.lib, QString::number(a / 10), QString::number(a).rightJustified(4, u'0'));
}
QString trackOf(const Library& l, int a, int k) {
  return albumOf(l, a) + QStringLiteral("%1.mp3").arg(k, 2, 10, QChar(u'0'));
}

// A quarter of a second of audio, tagged: a few KB.
QByteArray trackBytes(int a, int k, const QString& title) {
  static const QByteArray sound =
      orv::test::encodeMp3(orv::test::pcm(44100, 2, 0.25), 44100, 2, {"-b", "128"});
  using orv::test::Id3Encoding, orv::test::textFrame;
  return orv::test::id3v2Tag(
             3,
             {textFrame("TPE1", QStringLiteral("歌手 %1").arg(a / 10), Id3Encoding::kUtf16),
              textFrame("TIT2", title.arg(k), Id3Encoding::kUtf16),
              textFrame("TALB", QStringLiteral("アルバム %1").arg(a), Id3Encoding::kUtf16)},
             256) +
         sound;
}

void makeAlbum(const QString& folder, int a, int tracks) {
  QDir().mkpath(folder);
  for (int k = 1; k <= tracks; ++k) {
    orv::test::writeFile(folder + QStringLiteral("%1.mp3").arg(k, 2, 10, QChar(u'0')),
                         trackBytes(a, k, QStringLiteral("曲 %1")));
  }
}

Library makeLibrary(const QString& mode, int albums, int tracks, QTemporaryDir& temporary) {
  Library l{temporary.path(), {}, {}, albums, tracks};
  if (qEnvironmentVariableIntValue("LIBRARY_BENCH_KEEP") == 1) {
    l.root = QDir::currentPath() +
             QStringLiteral("/library-bench-%1-%2x%3").arg(mode).arg(albums).arg(tracks);
  }
  l.lib = l.root + QStringLiteral("/library");
  l.cache = l.root + QStringLiteral("/cache");
  if (!QFile::exists(l.root + QStringLiteral("/made"))) {
    std::printf("making %d albums of %d tracks in %s…\n", albums, tracks, qPrintable(l.lib));
    std::fflush(stdout);
    for (int a = 0; a < albums; ++a) makeAlbum(albumOf(l, a), a, tracks);
    orv::test::writeFile(l.root + QStringLiteral("/made"));
  }
  return l;
}

// As it was made: no pages, covers, library page or record; every track read once.
void reset(const Library& l) {
  for (int a = 0; a < l.albums; ++a) {
    QFile::remove(albumOf(l, a) + QStringLiteral("disk.html"));
    QFile::remove(albumOf(l, a) + QStringLiteral("jacket.jpg"));
    for (int k = 1; k <= l.tracks; ++k) orv::test::readFile(trackOf(l, a, k));
  }
  QFile::remove(l.lib + QStringLiteral("/index.html"));
  QDir(l.cache).removeRecursively();
  ::sync();
}

QString program() {
  const QString other = qEnvironmentVariable("LIBRARY_BENCH_ORV");
  return other.isEmpty() ? QStringLiteral(ORV_EXECUTABLE) : other;
}

QStringList batchArguments(const Library& l, const QStringList& more = {}) {
  return QStringList{"--batch", "-r", "--index", l.lib + "/index.html"} + more + QStringList{l.lib};
}

void startOrv(QProcess& orv, const Library& l, const QStringList& arguments) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("XDG_CACHE_HOME"), l.cache);
  orv.setProcessEnvironment(env);
  orv.start(program(), arguments);
  orv.waitForStarted();
}

double processorSeconds() {
  struct rusage usage {};
  ::getrusage(RUSAGE_CHILDREN, &usage);
  const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// One whole run: seconds and processor seconds; -1 when it failed.
std::pair<double, double> timedRun(const Library& l) {
  QProcess orv;
  orv.setStandardOutputFile(QProcess::nullDevice());
  orv.setStandardErrorFile(QProcess::nullDevice());
  const double processorBefore = processorSeconds();
  QElapsedTimer clock;
  clock.start();
  startOrv(orv, l, batchArguments(l));
  orv.waitForFinished(-1);
  const double seconds = clock.nsecsElapsed() / 1e9;
  if (orv.exitStatus() != QProcess::NormalExit || orv.exitCode() != 0) return {-1, -1};
  return {seconds, processorSeconds() - processorBefore};
}

// Every file and folder of the library with what a write changes.
using Snapshot = std::map<QString, std::tuple<ino_t, qint64, qint64, qint64>>;
Snapshot snapshot(const QString& folder) {
  Snapshot files;
  for (QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                       QDirIterator::Subdirectories);
       it.hasNext();) {
    const QString path = it.next();
    struct stat st {};
    ::lstat(QFile::encodeName(path).constData(), &st);
    const auto ns = [](const timespec& t) { return qint64(t.tv_sec) * 1'000'000'000 + t.tv_nsec; };
    files[path.sliced(folder.size() + 1)] = {st.st_ino, ns(st.st_mtim), ns(st.st_ctim),
                                             qint64(st.st_size)};
  }
  return files;
}

QStringList writtenBetween(const Snapshot& before, const Snapshot& after) {
  QStringList written;
  for (const auto& [path, identity] : after) {
    const auto it = before.find(path);
    if (it == before.end() || it->second != identity) written << path;
  }
  for (const auto& [path, identity] : before) {
    if (!after.contains(path)) written << QStringLiteral("(gone) ") + path;
  }
  return written;
}

int rerun(const Library& l, int runs) {
  std::printf("%s, %d albums of %d tracks, best of %d\n", qPrintable(program()), l.albums, l.tracks,
              runs);
  double first = 1e9, again = 1e9, firstCpu = 1e9, againCpu = 1e9;
  QStringList written;
  for (int r = 0; r < runs; ++r) {
    reset(l);
    const auto [firstSeconds, firstProcessor] = timedRun(l);
    ::sync();
    const Snapshot before = snapshot(l.lib);
    const auto [againSeconds, againProcessor] = timedRun(l);
    if (firstSeconds < 0 || againSeconds < 0) {
      std::printf("orv --batch failed\n");
      return 1;
    }
    written = writtenBetween(before, snapshot(l.lib));
    first = std::min(first, firstSeconds);
    firstCpu = std::min(firstCpu, firstProcessor);
    again = std::min(again, againSeconds);
    againCpu = std::min(againCpu, againProcessor);
  }
  std::printf("%-22s %9s %14s\n", "", "seconds", "processor s");
  std::printf("%-22s %9.3f %14.3f\n", "full run", first, firstCpu);
  std::printf("%-22s %9.3f %14.3f\n", "unchanged re-run", again, againCpu);
  std::printf("re-run / full run: %.1f %%; files and folders the re-run wrote: %lld\n",
              again / first * 100, qlonglong(written.size()));
  for (const QString& path : written.mid(0, 5)) std::printf("  %s\n", qPrintable(path));

  // One track retagged (its title, another each time), the rest unchanged.
  const QString title =
      QStringLiteral("新 %1 ") + QString::number(QDateTime::currentMSecsSinceEpoch());
  orv::test::writeFile(trackOf(l, 17, 3), trackBytes(17, 3, title));
  ::sync();
  const Snapshot before = snapshot(l.lib);
  const auto [retagSeconds, retagProcessor] = timedRun(l);
  written = writtenBetween(before, snapshot(l.lib));
  std::printf("one track retagged: %.3f s (%.3f processor s); %lld written: %s%s\n", retagSeconds,
              retagProcessor, qlonglong(written.size()),
              qPrintable(written.mid(0, 4).join(QStringLiteral(", "))),
              written.size() > 4 ? ", …" : "");
  return 0;
}

// The watch's processor time so far (clock ticks) and resident memory (KB).
qint64 processorTicks(qint64 pid) {
  QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
  if (!stat.open(QIODevice::ReadOnly)) return -1;
  const QList<QByteArray> fields = stat.readAll().split(')').last().split(' ');
  return fields.value(12).toLongLong() + fields.value(13).toLongLong();  // utime, stime
}
qint64 residentKilobytes(qint64 pid) {
  QFile status(QStringLiteral("/proc/%1/status").arg(pid));
  if (!status.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLongLong();
  }
  return -1;
}

// Reads the watch's lines until `total` have come in all (or two minutes passed).
bool awaitLines(QProcess& orv, qint64& lines, qint64 total) {
  QElapsedTimer clock;
  clock.start();
  while (lines < total && clock.elapsed() < 120000) {
    orv.waitForReadyRead(100);
    lines += orv.readAllStandardOutput().count('\n');
  }
  return lines >= total;
}

int watch(const Library& l) {
  reset(l);
  QProcess orv;
  orv.setStandardErrorFile(QProcess::nullDevice());
  startOrv(orv, l, batchArguments(l, {"-w"}));
  qint64 lines = 0;
  awaitLines(orv, lines, l.albums);  // the first pass
  QThread::sleep(3);                 // its own writes seen and found current
  const qint64 pid = orv.processId();
  const QString index = l.lib + QStringLiteral("/index.html");

  std::printf("an album copied in, on the library page after the copy's end (s):");
  for (int n = 0; n < 5; ++n) {
    const QString name = QStringLiteral("Copied%1").arg(n);
    makeAlbum(l.lib + u'/' + name + u'/', 9000 + n, l.tracks);
    QElapsedTimer clock;
    clock.start();
    while (!orv::test::readFile(index).contains(name.toUtf8()) && clock.elapsed() < 60000) {
      QThread::msleep(20);
    }
    std::printf(" %.2f", clock.nsecsElapsed() / 1e9);
    std::fflush(stdout);
  }
  awaitLines(orv, lines, l.albums + 5);

  const int idle = qEnvironmentVariableIntValue("LIBRARY_BENCH_IDLE") > 0
                       ? qEnvironmentVariableIntValue("LIBRARY_BENCH_IDLE")
                       : 60;
  QThread::sleep(3);
  const qint64 ticksBefore = processorTicks(pid);
  QThread::sleep(static_cast<unsigned long>(idle));
  std::printf("\nidle for %d s: %lld clock ticks of processor time (1/%ld s each)\n", idle,
              processorTicks(pid) - ticksBefore, ::sysconf(_SC_CLK_TCK));

  const qint64 start = residentKilobytes(pid);
  qint64 most = start;
  constexpr int kRounds = 20, kAlbumsARound = 50;
  for (int round = 0; round < kRounds; ++round) {
    for (int i = 0; i < kAlbumsARound; ++i) {
      const int a = (round * kAlbumsARound + i) % l.albums;
      orv::test::writeFile(
          trackOf(l, a, 1),
          trackBytes(a, 1, QStringLiteral("R%1 %2").arg(round, 2, 10, QChar(u'0'))));
    }
    if (!awaitLines(orv, lines, l.albums + 5 + (round + 1) * kAlbumsARound)) {
      std::printf("round %d: lines missing\n", round);
    }
    most = std::max(most, residentKilobytes(pid));
  }
  std::printf("resident memory: %lld KB before %d album changes, %lld KB after (at most %lld)\n",
              start, kRounds * kAlbumsARound, residentKilobytes(pid), most);
  ::kill(static_cast<pid_t>(pid), SIGINT);
  orv.waitForFinished(60000);
  std::printf("Ctrl-C: exit status %d\n", orv.exitCode());
  return 0;
}

}  // namespace

int runCurrentBench(const QStringList& args) {
  const bool watching = args[0] == u"watch";
  int albums = watching ? 400 : 4000, tracks = 25;
  if (args.size() >= 3) {
    albums = args[1].toInt();
    tracks = args[2].toInt();
  }
  if (albums < 1 || tracks < 1 || tracks > 99) {
    std::fputs("usage: library_bench rerun|watch [ALBUMS TRACKS]\n", stderr);
    return 2;
  }
  QTemporaryDir temporary(QDir::currentPath() + QStringLiteral("/library-bench-XXXXXX"));
  const Library l = makeLibrary(args[0], albums, tracks, temporary);
  const int runs = qEnvironmentVariableIntValue("LIBRARY_BENCH_RUNS");
  return watching ? watch(l) : rerun(l, runs > 0 ? runs : 3);
}
