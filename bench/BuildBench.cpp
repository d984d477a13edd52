// The whole build, from the click to the status line, on a generated album of real MP3
// files (a few KB each, with tags and a LAME/Info header), offscreen on the real window.
// Reports the total and the time per track of each stage.
//
//   build/bench/build_bench [TRACKS…]     (default: 2000 32766)

#include "app/MainForm.h"
#include "output/TrackGrid.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixFolderLocks.h"
#include "platform/qt/QtGrid.h"
#include "platform/qt/QtMainWindow.h"
#include "platform/qt/QtWindowSystem.h"
#include "platform/taglib/TagLibDetailSource.h"
#include "tests/mp3/Mp3Files.h"
#include "tests/support/Fakes.h"
#include "tests/support/Files.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>

namespace orv {
namespace {

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
  double listing = 0, renames = 0, tags = 0, page = 0;
  std::vector<Clock::time_point> messagePoints;
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
  void rename(const QString& from, const QString& to) override {
    Stopwatch w(t_.renames);
    PosixFileSystem::rename(from, to);
  }

 private:
  StageTimes& t_;
};

class TimedDetailSources : public platform::TagLibDetailSourceFactory {
 public:
  explicit TimedDetailSources(StageTimes& t) : t_(t) {}
  // Everything of one track's tag reading happens between create() and the release of
  // its objects; time it as a whole through the folder it hands out.
  std::unique_ptr<platform::DetailSource> create() override;

 private:
  StageTimes& t_;
};

class TimedFolder : public platform::DetailFolder {
 public:
  TimedFolder(std::unique_ptr<platform::DetailFolder> inner, double& total)
      : inner_(std::move(inner)), total_(total) {}
  std::unique_ptr<platform::DetailItem> ParseName(const QString& name) override {
    Stopwatch w(total_);
    return inner_->ParseName(name);
  }
  QString GetDetailsOf(const platform::DetailItem* item, int column) override {
    Stopwatch w(total_);
    return inner_->GetDetailsOf(item, column);
  }
  ~TimedFolder() override {
    Stopwatch w(total_);
    inner_.reset();
  }

 private:
  std::unique_ptr<platform::DetailFolder> inner_;
  double& total_;
};

class TimedSource : public platform::DetailSource {
 public:
  TimedSource(std::unique_ptr<platform::DetailSource> inner, double& total)
      : inner_(std::move(inner)), total_(total) {}
  std::unique_ptr<platform::DetailFolder> NameSpace(const QString& folder) override {
    Stopwatch w(total_);
    return std::make_unique<TimedFolder>(inner_->NameSpace(folder), total_);
  }

 private:
  std::unique_ptr<platform::DetailSource> inner_;
  double& total_;
};

std::unique_ptr<platform::DetailSource> TimedDetailSources::create() {
  Stopwatch w(t_.tags);
  return std::make_unique<TimedSource>(TagLibDetailSourceFactory::create(), t_.tags);
}

class TimedWindowSystem : public platform::QtWindowSystem {
 public:
  TimedWindowSystem(QApplication& app, StageTimes& t)
      : QtWindowSystem(app, QStringLiteral("orv-build-bench")), t_(t) {}
  void processPendingMessages() override {
    t_.messagePoints.push_back(Clock::now());
    QtWindowSystem::processPendingMessages();
  }

 private:
  StageTimes& t_;
};

double ms(Clock::time_point a, Clock::time_point b) {
  return std::chrono::duration<double, std::milli>(b - a).count();
}

// An album of `tracks` files "NNNNN track.mp3" (a space to rename), each with its own tags.
QString makeAlbum(const QTemporaryDir& root, int tracks) {
  const QByteArray audio =
      test::encodeMp3(test::pcm(44100, 2, 0.25), 44100, 2, {"-b", "128"});  // ~4 KB, Info header
  const QString folder = root.path() + QStringLiteral("/album/");
  QDir().mkpath(folder);
  for (int k = 1; k <= tracks; ++k) {
    const QByteArray tag = test::id3v2Tag(
        3,
        {test::textFrame("TPE1", QStringLiteral("テスト歌手"), test::Id3Encoding::kUtf16),
         test::textFrame("TIT2", QStringLiteral("曲 %1").arg(k), test::Id3Encoding::kUtf16),
         test::textFrame("TALB", QStringLiteral("ベンチマーク"), test::Id3Encoding::kLatin1)},
        64);
    test::writeFile(folder + QStringLiteral("%1 track.mp3").arg(k, 5, 10, QChar(u'0')),
                    tag + audio);
  }
  return folder;
}

void run(QApplication& app, int tracks) {
  QTemporaryDir root;
  std::printf("%d tracks: generating…\n", tracks);
  std::fflush(stdout);
  const QString folder = makeAlbum(root, tracks);
  for (const QString& name : QDir(folder).entryList(QDir::Files)) test::readFile(folder + name);

  StageTimes t;
  TimedWindowSystem windowSystem(app, t);
  platform::QtMainWindow window(windowSystem);
  test::FakeOpenFileDialog dialog;
  dialog.answers.push_back({folder + QStringLiteral("00001 track.mp3")});
  TimedFileSystem fileSystem(t);
  TimedDetailSources detailSources(t);
  platform::PosixFolderLocks folderLocks;
  const platform::FormControls controls = window.controls(dialog);
  MainForm form(controls, {.windowSystem = windowSystem,
                           .fileSystem = fileSystem,
                           .detailSources = detailSources,
                           .folderLocks = folderLocks,
                           .programFolder = QStringLiteral(ORV_PROGRAM_DIR "/")});
  window.setEvents(&form);
  form.load();
  QApplication::processEvents();

  const auto click = Clock::now();
  form.buildAlbum();
  const auto done = Clock::now();

  // Message points: 0 before the dialog, 1 after it, 2 after the scan and grid set-up,
  // 3 after the grid fill, 4 after the page.
  const auto& p = t.messagePoints;
  const double scanAndSetUp = ms(p[1], p[2]);
  const double grid = scanAndSetUp - t.listing - t.renames - t.tags + ms(p[2], p[3]);
  const double page = ms(p[3], p[4]);
  const double total = ms(click, done);
  const auto perTrack = [&](double v) { return v * 1000.0 / tracks; };
  std::printf("  click to status line: %8.1f ms  (%6.1f µs per track)\n", total, perTrack(total));
  std::printf("  listing (2 passes):   %8.1f ms  (%6.1f µs per track)\n", t.listing,
              perTrack(t.listing));
  std::printf("  renames:              %8.1f ms  (%6.1f µs per track)\n", t.renames,
              perTrack(t.renames));
  std::printf("  tag reading:          %8.1f ms  (%6.1f µs per track)\n", t.tags, perTrack(t.tags));
  std::printf("  grid:                 %8.1f ms  (%6.1f µs per track)\n", grid, perTrack(grid));
  std::printf("  page:                 %8.1f ms  (%6.1f µs per track)\n", page, perTrack(page));

  // Responsiveness afterwards: scroll to the last row and paint the window.
  auto& grid2 = static_cast<platform::QtGrid&>(controls.trackGrid);
  QElapsedTimer paint;
  paint.start();
  grid2.view()->scrollToBottom();
  window.grab();
  std::printf("  scroll to the end and repaint afterwards: %.1f ms\n", paint.nsecsElapsed() / 1e6);
}

}  // namespace
}  // namespace orv

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  std::vector<int> sizes;
  for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
  if (sizes.empty()) sizes = {2000, 32766};
  for (int n : sizes) orv::run(app, n);
}
