// A whole library through `orv --batch -r`, the real program, timed from its start to
// its end, for several numbers of jobs. Before each run the library is put back as it
// was (names with spaces, no pages, no covers), so every run renames, reads and writes
// everything.
//
//   build/bench/library_bench warm [ALBUMS TRACKS [JOBS…]]
//       400 albums of 25 small tagged MP3 files (a few KB), read from memory: -j 1, 2
//   build/bench/library_bench cold [ALBUMS TRACKS [JOBS…]]
//       60 albums of 12 files of about 4 MB with a cover picture in the tag, read from
//       disk: the page cache is dropped before each run (root only): -j 1 to 16
//   build/bench/library_bench covers [ALBUMS TRACKS [JOBS…]]
//       the warm library with a cover.jpg of about 100 KB in every album, each run made
//       twice in turn, without and with --covers, and how much slower --covers is: the
//       medians of 12 pairs
//   build/bench/library_bench rerun|watch [ALBUMS TRACKS]
//       the library kept current: an unchanged re-run against a full run, and --watch
//       (see LibraryCurrentBench.cpp)
//
// The library lies in a new folder in the working folder, on its disk, and is removed
// at the end; with LIBRARY_BENCH_KEEP=1 in the environment it is kept, as
// library-bench-MODE-ALBUMSxTRACKS, and used again by the next run of the same size.
// LIBRARY_BENCH_RUNS=N sets the runs of each figure (pairs, for covers).
//
// Each line gives the best of the runs, the load average when it was measured (other
// builds on the machine slow the runs down) and the least processor time orv took, its
// threads' user and system time together, which the machine's load changes less.

#include "bench/LibraryCurrentBench.h"
#include "tests/mp3/Mp3Files.h"
#include "tests/support/Files.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct Setup {
  bool cold = false;
  bool covers = false;  // a cover.jpg in every album; runs with and without --covers
  int albums = 400;
  int tracks = 25;
  std::vector<int> jobs{1, 2};
  int runs = 3;
};

QString trackName(int k) { return QStringLiteral("%1 track.mp3").arg(k, 5, 10, QChar(u'0')); }
QString renamedTrack(int k) { return QStringLiteral("%1_track.mp3").arg(k, 5, 10, QChar(u'0')); }
QString albumFolder(const QString& lib, int a) {
  return QStringLiteral("%1/Artist %2/Album %3/")
      .arg(lib, QString::number(a / 10), QString::number(a).rightJustified(4, u'0'));
}

// The audio every track shares: a quarter of a second (about 4 KB), or about four
// minutes (about 4 MB) for the cold library.
QByteArray audio(bool cold) {
  const double seconds = cold ? 250.0 : 0.25;
  return orv::test::encodeMp3(orv::test::pcm(44100, 2, seconds), 44100, 2, {"-b", "128"});
}

void makeLibrary(const QString& lib, const Setup& s) {
  std::printf("making %d albums of %d tracks in %s…\n", s.albums, s.tracks, qPrintable(lib));
  std::fflush(stdout);
  const QByteArray sound = audio(s.cold);
  // A cover of realistic size: the program's own, padded to about 100 KB.
  QByteArray cover = orv::test::readFile(QStringLiteral(ORV_PROGRAM_DIR "/jacket.jpg"));
  cover.append(QByteArray(100 * 1024 - cover.size(), '\0'));
  for (int a = 0; a < s.albums; ++a) {
    const QString folder = albumFolder(lib, a);
    QDir().mkpath(folder);
    for (int k = 1; k <= s.tracks; ++k) {
      std::vector<orv::test::Id3v2Frame> frames{
          orv::test::textFrame("TPE1", QStringLiteral("歌手 %1").arg(a / 10),
                               orv::test::Id3Encoding::kUtf16),
          orv::test::textFrame("TIT2", QStringLiteral("曲 %1").arg(k),
                               orv::test::Id3Encoding::kUtf16),
          orv::test::textFrame("TALB", QStringLiteral("アルバム %1").arg(a),
                               orv::test::Id3Encoding::kUtf16)};
      if (s.cold) frames.push_back(orv::test::pictureFrame(3, cover));
      orv::test::writeFile(folder + trackName(k), orv::test::id3v2Tag(3, frames, 256) + sound);
    }
    if (s.covers) orv::test::writeFile(folder + QStringLiteral("cover.jpg"), cover);
  }
}

// Back to names with spaces, no page and no cover.
void resetLibrary(const QString& lib, const Setup& s) {
  for (int a = 0; a < s.albums; ++a) {
    const QString folder = albumFolder(lib, a);
    QFile::remove(folder + QStringLiteral("disk.html"));
    QFile::remove(folder + QStringLiteral("jacket.jpg"));
    for (int k = 1; k <= s.tracks; ++k)
      QFile::rename(folder + renamedTrack(k), folder + trackName(k));
  }
}

void warmUp(const QString& lib, const Setup& s) {
  for (int a = 0; a < s.albums; ++a) {
    for (int k = 1; k <= s.tracks; ++k) orv::test::readFile(albumFolder(lib, a) + trackName(k));
  }
}

bool dropPageCache() {
  ::sync();
  QFile drop(QStringLiteral("/proc/sys/vm/drop_caches"));
  return drop.open(QIODevice::WriteOnly) && drop.write("3\n") == 2 && drop.flush();
}

QString loadAverage() {
  QFile f(QStringLiteral("/proc/loadavg"));
  if (!f.open(QIODevice::ReadOnly)) return QStringLiteral("?");
  return QString::fromLatin1(f.readAll()).section(u' ', 0, 0);
}

// Processor seconds of the finished children, user and system.
double childrenProcessorSeconds() {
  struct rusage usage {};
  ::getrusage(RUSAGE_CHILDREN, &usage);
  const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// One batch run; seconds, or -1 when it did not build everything.
double timedRun(const QString& lib, int jobs, bool covers) {
  QProcess orv;
  orv.setStandardOutputFile(QProcess::nullDevice());
  orv.setStandardErrorFile(QProcess::nullDevice());
  QElapsedTimer clock;
  clock.start();
  QStringList arguments{QStringLiteral("--batch"), QStringLiteral("-r"), QStringLiteral("-j"),
                        QString::number(jobs), lib};
  if (covers) arguments << QStringLiteral("--covers");
  orv.start(QStringLiteral(ORV_EXECUTABLE), arguments);
  if (!orv.waitForFinished(-1) || orv.exitStatus() != QProcess::NormalExit || orv.exitCode() != 0) {
    return -1;
  }
  return clock.nsecsElapsed() / 1e9;
}

// Back to the library as it was made, its files in the page cache (warm) or not (cold),
// with nothing left to write back from the making or the resetting, which the first
// syncs of the run would otherwise pay for.
void prepare(const QString& lib, const Setup& s, bool cold) {
  resetLibrary(lib, s);
  if (cold) {
    dropPageCache();
  } else {
    warmUp(lib, s);
    ::sync();
  }
}

// The middle of `values`: the mean of the two middle ones for an even count, so that
// neither half of the pairs weighs more.
double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Runs without and with --covers in turn, each pair in the other order than the last, so
// that a change in the machine's load weighs on both alike. On a shared machine single
// runs of the same work differ by a quarter, in phases, so the figure is the ratio of the
// medians of many pairs (LIBRARY_BENCH_RUNS, default 12), with the median of the pairs'
// own ratios and the medians of orv's processor time (user and system) beside it.
int compareCovers(const QString& lib, const Setup& s) {
  std::printf("warm, %d albums, %d tracks, a cover.jpg in every album, %d pairs of runs\n",
              s.albums, s.albums * s.tracks, s.runs);
  std::printf("%5s %10s %10s %9s %13s %6s %12s %12s\n", "jobs", "plain s", "covers s", "slower",
              "(pairs' own)", "load", "plain cpu s", "covers cpu s");
  for (const int jobs : s.jobs) {
    std::vector<double> seconds[2], processor[2], ratios;
    QString load;
    for (int r = 0; r < s.runs; ++r) {
      double pair[2];
      for (const bool covers : {r % 2 == 1, r % 2 == 0}) {
        prepare(lib, s, /*cold=*/false);
        load = loadAverage();
        const double processorBefore = childrenProcessorSeconds();
        pair[covers] = timedRun(lib, jobs, covers);
        if (pair[covers] < 0) {
          std::printf("orv --batch failed with -j %d\n", jobs);
          return 1;
        }
        seconds[covers].push_back(pair[covers]);
        processor[covers].push_back(childrenProcessorSeconds() - processorBefore);
      }
      ratios.push_back(pair[1] / pair[0]);
    }
    const double plain = median(seconds[0]);
    const double covers = median(seconds[1]);
    std::printf("%5d %10.3f %10.3f %8.1f%% %12.1f%% %6s %12.3f %12.3f\n", jobs, plain, covers,
                (covers / plain - 1) * 100, (median(ratios) - 1) * 100, qPrintable(load),
                median(processor[0]), median(processor[1]));
    std::fflush(stdout);
  }
  return 0;
}

int run(const Setup& s) {
  QTemporaryDir temporary(QDir::currentPath() + QStringLiteral("/library-bench-XXXXXX"));
  const bool keep = qEnvironmentVariableIntValue("LIBRARY_BENCH_KEEP") == 1;
  const QString root = keep ? QDir::currentPath() + QStringLiteral("/library-bench-%1-%2x%3")
                                                        .arg(s.cold     ? "cold"
                                                             : s.covers ? "covers"
                                                                        : "warm")
                                                        .arg(s.albums)
                                                        .arg(s.tracks)
                            : temporary.path();
  const QString lib = root + QStringLiteral("/library");
  const QString made = root + QStringLiteral("/made");
  if (!QFile::exists(made)) {
    QDir(root).removeRecursively();
    makeLibrary(lib, s);
    orv::test::writeFile(made);
  }
  const bool cold = s.cold && dropPageCache();
  if (s.cold && !cold) {
    std::printf("cannot write /proc/sys/vm/drop_caches (only root can): running warm only\n");
  }
  if (s.covers) return compareCovers(lib, s);
  const int total = s.albums * s.tracks;
  std::printf("%s, %d albums, %d tracks, best of %d runs\n", cold ? "cold" : "warm", s.albums,
              total, s.runs);
  std::printf("%5s %10s %12s %10s %6s %14s\n", "jobs", "seconds", "µs/track", "speed-up", "load",
              "processor s");
  double first = 0;
  for (const int jobs : s.jobs) {
    double best = 1e9;
    double bestProcessor = 1e9;
    QString load;
    for (int r = 0; r < s.runs; ++r) {
      prepare(lib, s, cold);
      load = loadAverage();
      const double processorBefore = childrenProcessorSeconds();
      const double seconds = timedRun(lib, jobs, /*covers=*/false);
      if (seconds < 0) {
        std::printf("orv --batch failed with -j %d\n", jobs);
        return 1;
      }
      best = std::min(best, seconds);
      bestProcessor = std::min(bestProcessor, childrenProcessorSeconds() - processorBefore);
    }
    if (first == 0) first = best;
    std::printf("%5d %10.3f %12.1f %9.2fx %6s %14.3f\n", jobs, best, best * 1e6 / total,
                first / best, qPrintable(load), bestProcessor);
    std::fflush(stdout);
  }
  return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments().mid(1);
  if (!args.isEmpty() && (args[0] == u"rerun" || args[0] == u"watch")) return runCurrentBench(args);
  Setup s;
  s.cold = !args.isEmpty() && args[0] == u"cold";
  s.covers = !args.isEmpty() && args[0] == u"covers";
  if (s.covers) s.runs = 12;
  if (s.cold) {
    s.albums = 60;
    s.tracks = 12;
    s.jobs.clear();
    for (int j = 1; j <= 16; ++j) s.jobs.push_back(j);
    s.runs = 2;
  }
  if (const int runs = qEnvironmentVariableIntValue("LIBRARY_BENCH_RUNS"); runs > 0) s.runs = runs;
  if (args.size() >= 3) {
    s.albums = args[1].toInt();
    s.tracks = args[2].toInt();
  }
  if (args.size() >= 4) {
    s.jobs.clear();
    for (const QString& j : args.mid(3)) s.jobs.push_back(j.toInt());
  }
  if (s.albums < 1 || s.tracks < 1 || s.tracks > 32766) {
    std::fputs(
        "usage: library_bench warm|cold|covers [ALBUMS TRACKS [JOBS…]]\n"
        "       library_bench rerun|watch [ALBUMS TRACKS]\n",
        stderr);
    return 2;
  }
  return run(s);
}
