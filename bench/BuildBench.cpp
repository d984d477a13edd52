// The whole build, from the click to the status line, on a generated album of real MP3
// files with tags and a LAME/Info header, offscreen on the real window. Reports the time
// per track of each stage, the bytes the build read per track (the process's rchar:
// every read and pread, the tracks' and the templates'), and the same album read by
// mutagen's loop (bench/mutagen_loop.py) in the same run, as a ratio.
//
//   build/bench/build_bench [--seconds S] [--cover KB] [--cold] [--runs N] [TRACKS…]
//
//   TRACKS       album sizes (default: 2000 32766)
//   --seconds S  audio per track (default 0.25 s, about 4 KB; 180 s is about 2.9 MB)
//   --cover KB   an embedded front cover (APIC) of KB kilobytes in every track
//   --cold       drop the page cache before each run, of Orv and of mutagen (root only)
//   --runs N     builds of each album (default 1), each after putting the album back as
//                it was; the stages are those of the fastest
//
// The album lies in a temporary folder in the working folder: run it where the albums
// would lie (a disk for the cold figures). Other work on the machine slows both Orv and
// mutagen: compare the ratio, and note the load average printed with each run.

#include "app/MainForm.h"
#include "bench/ProcessMeasures.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixFolderLocks.h"
#include "platform/qt/QtMainWindow.h"
#include "platform/qt/QtWindowSystem.h"
#include "platform/taglib/TagLibTrackDetails.h"
#include "tests/mp3/Mp3Files.h"
#include "tests/support/Fakes.h"
#include "tests/support/Files.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace orv {
namespace {

using bench::bytesReadByThisProcess;
using bench::loadAverage;
using bench::prepare;
using bench::processorMilliseconds;

using Clock = std::chrono::steady_clock;

// Adds the time spent inside a call to `total`.
class Stopwatch {
 public:
  explicit Stopwatch(double& total) : total_(total), start_(Clock::now()) {}
  ~Stopwatch() {
    total_ += std::chrono::duration<double, std::milli>(Clock::now() - start_).count();
  }

 private:
  double& total_;
  Clock::time_point start_;
};

struct StageTimes {
  double listing = 0, checks = 0, renames = 0, tags = 0, readAhead = 0, grid = 0, events = 0;
  std::vector<Clock::time_point> messagePoints, messagesDone;
};

class TimedListing : public platform::FolderListing {
 public:
  TimedListing(std::unique_ptr<platform::FolderListing> inner, double& total)
      : inner_(std::move(inner)), total_(total) {}
  QString next() override {
    Stopwatch w(total_);
    return inner_->next();
  }

 private:
  std::unique_ptr<platform::FolderListing> inner_;
  double& total_;
};

class TimedFileSystem : public platform::PosixFileSystem {
 public:
  explicit TimedFileSystem(StageTimes& t) : t_(t) {}
  std::unique_ptr<platform::FolderListing> list(const QString& pattern) override {
    Stopwatch w(t_.listing);
    return std::make_unique<TimedListing>(PosixFileSystem::list(pattern), t_.listing);
  }
  void queryAttributes(const QString& path) override {
    Stopwatch w(t_.listing);
    PosixFileSystem::queryAttributes(path);
  }
  void requireReadable(const QString& path) override {
    Stopwatch w(t_.checks);
    PosixFileSystem::requireReadable(path);
  }
  void rename(const QString& from, const QString& to) override {
    Stopwatch w(t_.renames);
    PosixFileSystem::rename(from, to);
  }

 private:
  StageTimes& t_;
};

// Each track's reading as a whole, and the fill pass's calls on the read-ahead: its
// start, its steps and its end.
class TimedTrackDetails : public platform::TrackDetailsReader {
 public:
  explicit TimedTrackDetails(StageTimes& t) : t_(t) {}
  platform::TrackDetails read(const QString& path) override {
    Stopwatch w(t_.tags);
    return inner_.read(path);
  }
  std::unique_ptr<platform::TrackReadAhead> readAhead(std::vector<QString> paths) override;

 private:
  StageTimes& t_;
  platform::TagLibTrackDetails inner_;
};

class TimedReadAhead : public platform::TrackReadAhead {
 public:
  TimedReadAhead(std::unique_ptr<platform::TrackReadAhead> inner, double& total)
      : inner_(std::move(inner)), total_(total) {}
  void reached(int index) override {
    Stopwatch w(total_);
    inner_->reached(index);
  }
  ~TimedReadAhead() override {
    Stopwatch w(total_);
    inner_.reset();
  }

 private:
  std::unique_ptr<platform::TrackReadAhead> inner_;
  double& total_;
};

std::unique_ptr<platform::TrackReadAhead> TimedTrackDetails::readAhead(std::vector<QString> paths) {
  Stopwatch w(t_.readAhead);
  return std::make_unique<TimedReadAhead>(inner_.readAhead(std::move(paths)), t_.readAhead);
}

// Every album the build shows in the track list.
class TimedTrackList : public platform::TrackList {
 public:
  TimedTrackList(platform::TrackList& inner, double& total) : inner_(inner), total_(total) {}
  void show(std::vector<platform::ListedTrack> tracks) override {
    Stopwatch w(total_);
    inner_.show(std::move(tracks));
  }

 private:
  platform::TrackList& inner_;
  double& total_;
};

class TimedWindowSystem : public platform::QtWindowSystem {
 public:
  TimedWindowSystem(QApplication& app, StageTimes& t)
      : QtWindowSystem(app, QStringLiteral("orv-build-bench")), t_(t) {}
  void processPendingMessages() override {
    t_.messagePoints.push_back(Clock::now());
    {
      Stopwatch w(t_.events);
      QtWindowSystem::processPendingMessages();
    }
    t_.messagesDone.push_back(Clock::now());
  }

 private:
  StageTimes& t_;
};

double ms(Clock::time_point a, Clock::time_point b) {
  return std::chrono::duration<double, std::milli>(b - a).count();
}

struct Options {
  std::vector<int> sizes;
  double seconds = 0.25;
  int coverKB = 0;
  bool cold = false;
  int runs = 1;
};

QString trackName(int k) { return QStringLiteral("%1 track.mp3").arg(k, 5, 10, QChar(u'0')); }
QString renamedTrack(int k) { return QStringLiteral("%1_track.mp3").arg(k, 5, 10, QChar(u'0')); }

// An ID3v2.3 frame "APIC" holding `jpeg`, as taggers store a front cover.
test::Id3v2Frame coverFrame(const QByteArray& jpeg) {
  QByteArray data("image/jpeg");
  data.append('\0').append('\x03').append('\0');  // front cover, no description
  return {"APIC", '\0', data + jpeg};
}

// An album of `tracks` files "NNNNN track.mp3" (a space to rename), each with its own tags.
QString makeAlbum(const QTemporaryDir& root, int tracks, const Options& o) {
  const QByteArray audio = test::encodeMp3(test::pcm(44100, 2, o.seconds), 44100, 2, {"-b", "128"});
  QByteArray cover;
  if (o.coverKB > 0) {
    cover = test::readFile(QStringLiteral(ORV_PROGRAM_DIR "/jacket.jpg"));
    cover.append(QByteArray(std::max<qsizetype>(0, o.coverKB * 1024 - cover.size()), '\0'));
  }
  const QString folder = root.path() + QStringLiteral("/album/");
  QDir().mkpath(folder);
  for (int k = 1; k <= tracks; ++k) {
    std::vector<test::Id3v2Frame> frames{
        test::textFrame("TPE1", QStringLiteral("テスト歌手"), test::Id3Encoding::kUtf16),
        test::textFrame("TIT2", QStringLiteral("曲 %1").arg(k), test::Id3Encoding::kUtf16),
        test::textFrame("TALB", QStringLiteral("ベンチマーク"), test::Id3Encoding::kLatin1)};
    if (!cover.isEmpty()) frames.push_back(coverFrame(cover));
    test::writeFile(folder + trackName(k), test::id3v2Tag(3, frames, 64) + audio);
  }
  return folder;
}

// Back to names with spaces, no page and no cover.
void resetAlbum(const QString& folder, int tracks) {
  QFile::remove(folder + QStringLiteral("disk.html"));
  QFile::remove(folder + QStringLiteral("jacket.jpg"));
  for (int k = 1; k <= tracks; ++k) QFile::rename(folder + renamedTrack(k), folder + trackName(k));
}

struct BuildRun {
  double total = 0, listing = 0, checks = 0, renames = 0, tags = 0, readAhead = 0, grid = 0,
         events = 0, page = 0, rest = 0;

  qint64 bytesRead = 0;
  double cpu = 0;  // ms of processor time, every thread of the process
};

BuildRun buildOnce(QApplication& app, const QString& folder) {
  StageTimes t;
  TimedWindowSystem windowSystem(app, t);
  platform::QtMainWindow window(windowSystem);
  test::FakeOpenFileDialog dialog;
  dialog.answers.push_back(folder + trackName(1));
  TimedFileSystem fileSystem(t);
  TimedTrackDetails trackDetails(t);
  platform::PosixFolderLocks folderLocks;
  const platform::FormControls controls = window.controls(dialog);
  TimedTrackList trackList(controls.trackList, t.grid);
  MainForm form(
      {controls.window, controls.buildButton, controls.albumTitleLabel, controls.albumArtistLabel,
       controls.statusLabel, trackList, controls.openFileDialog},
      {.windowSystem = windowSystem,
       .album = {.fileSystem = fileSystem,
                 .trackDetails = trackDetails,
                 .folderLocks = folderLocks,
                 .programFolder = QStringLiteral(ORV_PROGRAM_DIR "/")}});
  window.setEvents(&form);
  form.load();
  QApplication::processEvents();

  const qint64 readBefore = bytesReadByThisProcess();
  const double cpuBefore = processorMilliseconds();
  const auto click = Clock::now();
  form.buildAlbum();
  const auto done = Clock::now();
  BuildRun run;
  run.cpu = processorMilliseconds() - cpuBefore;
  run.bytesRead = bytesReadByThisProcess() - readBefore;

  // Message points: 0 before the dialog, 1 after it, then the status line's while a scan
  // that runs long reads the tracks, and the last three after the scan and the album's
  // rows, after the album's texts, and after the page.
  const auto& p = t.messagePoints;
  const std::size_t n = p.size();
  if (n < 5) {
    std::printf("  the build did not finish: %s\n", qPrintable(controls.statusLabel.caption()));
    return run;
  }
  run.total = ms(click, done);
  run.listing = t.listing;
  run.checks = t.checks;
  run.renames = t.renames;
  run.tags = t.tags;
  run.readAhead = t.readAhead;
  run.grid = t.grid;
  run.events = t.events;
  run.page = ms(t.messagesDone[n - 2], p[n - 1]);  // the page writer alone runs there
  run.rest = run.total - run.listing - run.checks - run.renames - run.tags - run.grid - run.events -
             run.page;

  // Responsiveness afterwards: scroll to the last row and paint the window.
  QElapsedTimer paint;
  paint.start();
  window.findChild<QTableView*>(QStringLiteral("trackGrid"))->scrollToBottom();
  window.grab();
  std::printf("  scroll to the end and repaint afterwards: %.1f ms\n", paint.nsecsElapsed() / 1e6);
  return run;
}

// mutagen's reading loop over the album; milliseconds, or -1 when it can't run.
double mutagenOnce(const QString& folder) {
  QProcess python;
  python.start(QStringLiteral("/usr/bin/python3"),
               {QStringLiteral(ORV_BENCH_DIR "/mutagen_loop.py"), folder});
  if (!python.waitForFinished(-1) || python.exitCode() != 0) return -1;
  return python.readAllStandardOutput().trimmed().toDouble() * 1000;
}

void run(QApplication& app, int tracks, const Options& o) {
  QTemporaryDir root(QDir::currentPath() + QStringLiteral("/build-bench-XXXXXX"));
  std::printf("%d tracks of %.2f s%s: generating…\n", tracks, o.seconds,
              o.coverKB > 0 ? qPrintable(QStringLiteral(", %1 KB covers").arg(o.coverKB)) : "");
  std::fflush(stdout);
  const QString folder = makeAlbum(root, tracks, o);

  BuildRun best;
  double bestMutagen = -1;
  bool cold = false;
  for (int r = 0; r < o.runs; ++r) {
    resetAlbum(folder, tracks);
    cold = prepare(folder, o.cold);
    const QString load = loadAverage();
    const BuildRun b = buildOnce(app, folder);
    std::printf(
        "  run %d (%s, load %s): %.1f µs per track, processors %.1f µs per track, %.1f KB read "
        "per track\n",
        r + 1, cold ? "cold" : "warm", qPrintable(load), b.total * 1000 / tracks,
        b.cpu * 1000 / tracks, b.bytesRead / 1024.0 / tracks);
    if (r == 0 || b.total < best.total) best = b;

    prepare(folder, o.cold);
    const double m = mutagenOnce(folder);
    if (m >= 0) {
      std::printf("        mutagen: %.1f µs per track\n", m * 1000 / tracks);
      if (bestMutagen < 0 || m < bestMutagen) bestMutagen = m;
    }
    std::fflush(stdout);
  }
  if (o.cold && !cold) std::printf("  could not drop the page cache (root only): warm figures\n");

  const auto line = [&](const char* what, double v) {
    std::printf("  %-22s %8.1f ms  (%6.1f µs per track)\n", what, v, v * 1000.0 / tracks);
  };
  std::printf("  fastest run, %s:\n", cold ? "cold" : "warm");
  line("click to status line:", best.total);
  line("listing (2 passes):", best.listing);
  line("count pass opens:", best.checks);
  line("renames:", best.renames);
  line("tag reading:", best.tags);
  line("read-ahead's steps:", best.readAhead);
  line("grid:", best.grid);
  line("window events:", best.events);
  line("page:", best.page);
  line("the rest:", best.rest);
  std::printf("  read:                  %8.1f KB per track\n", best.bytesRead / 1024.0 / tracks);
  if (bestMutagen > 0) {
    std::printf("  mutagen's loop:        %8.1f ms  (%6.1f µs per track); Orv / mutagen: %.2f\n",
                bestMutagen, bestMutagen * 1000 / tracks, best.total / bestMutagen);
  } else {
    std::printf("  mutagen's loop: not run (python3-mutagen missing?)\n");
  }
}

Options parse(const QStringList& args) {
  Options o;
  for (int i = 0; i < args.size(); ++i) {
    const QString& a = args[i];
    const auto value = [&] { return i + 1 < args.size() ? args[++i] : QString(); };
    if (a == u"--seconds") {
      o.seconds = value().toDouble();
    } else if (a == u"--cover") {
      o.coverKB = value().toInt();
    } else if (a == u"--cold") {
      o.cold = true;
    } else if (a == u"--runs") {
      o.runs = std::max(1, value().toInt());
    } else {
      o.sizes.push_back(a.toInt());
    }
  }
  if (o.sizes.empty()) o.sizes = {2000, 32766};
  return o;
}

}  // namespace
}  // namespace orv

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const orv::Options options = orv::parse(app.arguments().mid(1));
  for (int n : options.sizes) {
    if (n < 1 || n > 32766) {
      std::fputs("usage: build_bench [--seconds S] [--cover KB] [--cold] [--runs N] [TRACKS…]\n",
                 stderr);
      return 2;
    }
  }
  for (int n : options.sizes) orv::run(app, n, options);
}
