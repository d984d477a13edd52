#include "batch/BatchCommand.h"

#include "batch/AlbumBuild.h"
#include "batch/AlbumFinder.h"
#include "batch/BatchOptions.h"
#include "batch/BatchOutput.h"
#include "batch/CoverCopies.h"
#include "batch/CurrentAlbums.h"
#include "batch/LibraryIndex.h"
#include "batch/LibraryWatch.h"
#include "core/CommandLine.h"
#include "core/Console.h"
#include "core/InParallel.h"

#include <QDir>

#include <unistd.h>

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace orv::batch {
namespace {

// The albums, built by `jobs` threads at once, each album whole on one thread. Hands
// the outcomes to `done(index, outcome)` on the calling thread in the albums' order,
// each as soon as it and all before it are built, and `waiting()` every tenth of a
// second meanwhile. A build that throws stops the others from starting more; its
// exception is raised here once those under way are done.
template <typename Build, typename Done, typename Waiting>
void buildInParallel(std::size_t albums, int jobs, Build&& build, Done&& done, Waiting&& waiting) {
  std::vector<std::optional<AlbumOutcome>> outcomes(albums);
  std::exception_ptr failure;
  std::mutex mutex;
  std::condition_variable ready;
  std::jthread builders([&] {
    try {
      inParallel(albums, jobs, [&](std::size_t i) {
        AlbumOutcome outcome = build(i);
        const std::lock_guard lock(mutex);
        outcomes[i] = std::move(outcome);
        ready.notify_one();
      });
    } catch (...) {
      const std::lock_guard lock(mutex);
      failure = std::current_exception();
      ready.notify_one();
    }
  });

  for (std::size_t i = 0; i < albums; ++i) {
    std::unique_lock lock(mutex);
    while (!ready.wait_for(lock, std::chrono::milliseconds(100),
                           [&] { return outcomes[i].has_value() || failure; })) {
      lock.unlock();
      waiting();
      lock.lock();
    }
    if (!outcomes[i]) {
      lock.unlock();
      builders.join();
      std::rethrow_exception(failure);
    }
    AlbumOutcome outcome = std::move(*outcomes[i]);
    lock.unlock();
    done(i, std::move(outcome));
  }
}

// What the batch tells as the albums are done, in their order: a line (or a JSON
// object) for each on standard output, the progress on a terminal's standard error, and
// the summary at the end.
class Report {
 public:
  Report(const FoundAlbums& found, const BatchOptions& options, const WaitingAlbums& waiting)
      : options_(options),
        waiting_(waiting),
        tally_{.skipped = found.foldersWithoutMp3},
        progress_(static_cast<int>(found.albums.size()), ::isatty(STDERR_FILENO) == 1) {
    outcomes_.reserve(found.albums.size());
  }

  void albumDone(AlbumOutcome outcome) {
    if (outcome.status == AlbumStatus::kNotStarted) {
      ++tally_.notStarted;
    } else if (outcome.status == AlbumStatus::kFailed) {
      ++tally_.failed;
    } else if (outcome.status == AlbumStatus::kCurrent) {
      ++tally_.current;
      tally_.tracks += outcome.album.tracks.value();
    } else {
      ++tally_.built;
      tally_.tracks += outcome.album.tracks.value();
    }
    progress_.clear();
    if (outcome.status != AlbumStatus::kNotStarted) {
      writeOut(options_.json ? albumJson(outcome) : albumLines(outcome, options_.dryRun));
    }
    outcomes_.push_back(std::move(outcome));
    progress_.update(static_cast<int>(outcomes_.size()), tally_.tracks, waiting_.folders(),
                     /*now=*/true);
  }

  void waiting() {
    progress_.update(static_cast<int>(outcomes_.size()), tally_.tracks, waiting_.folders());
  }

  void summary() {
    progress_.clear();
    writeError(summaryLine(tally_, options_.dryRun, progress_.secondsElapsed()));
  }

  bool anyFailed() const { return tally_.failed > 0; }
  const std::vector<AlbumOutcome>& outcomes() const { return outcomes_; }

 private:
  const BatchOptions& options_;
  const WaitingAlbums& waiting_;
  Tally tally_;
  Progress progress_;
  std::vector<AlbumOutcome> outcomes_;
};

// The library page's path, absolute, once it is known that the page may be written (a
// page that may not stops the batch before it changes anything); empty when none is
// asked for. Throws the RuntimeError that says why not.
QString libraryIndexPath(const QString& indexFile, platform::FileSystem& fileSystem) {
  if (indexFile.isEmpty()) return {};
  const QString path = QDir::cleanPath(QDir::current().absoluteFilePath(indexFile));
  checkLibraryIndexTarget(path, fileSystem);
  return path;
}

// The albums, each unless it is current, built `options.jobs` at once, each told to
// `done(index, outcome)` as soon as it and all before it are done, and a change among
// the `waitingAlbums` (when given) to `waiting()`; then the record of what was built is
// written. Once the batch is interrupted no album starts.
template <typename Done, typename Waiting>
void buildAlbums(const std::vector<AlbumFolder>& albums, const BatchOptions& options,
                 const BuildServices& services, RunRecords& records, WaitingAlbums* waitingAlbums,
                 Done&& done, Waiting&& waiting) {
  buildInParallel(
      albums.size(), options.jobs,
      [&](std::size_t i) {
        const AlbumFolder& album = albums[i];
        if (services.interruption.requested() != 0) return NotStartedAlbum(album.path);
        return album.error
                   ? FailedAlbum(album.path, *album.error)
                   : BuildUnlessCurrent(album.path, services, options, records, waitingAlbums);
      },
      done, waiting);
  records.flush();
}

// The library page with its covers' small copies, made while `keepGoing()` says so.
bool writeLibraryPage(const QString& path, const std::vector<AlbumOutcome>& albums,
                      const BatchOptions& options, const BuildServices& services,
                      const std::function<bool()>& keepGoing) {
  const CoverCopies covers(services.album.fileSystem, services.pictures,
                           services.album.programFolder, options.jobs, keepGoing);
  return writeLibraryIndex(path, albums, services.album.fileSystem, services.album.folderLocks,
                           keepGoing, &covers);
}

// The library page of the albums built: written, or in a dry run checked again, or left
// as it was when the batch was interrupted. Returns false when it could not be written.
bool writeIndex(const QString& path, const std::vector<AlbumOutcome>& albums,
                const BatchOptions& options, const BuildServices& services) {
  const auto interrupted = [&] { return services.interruption.requested() != 0; };
  const auto leftAsItWas = [&] {
    writeError(QStringLiteral("中断したため、一覧ページ %1 はそのままにしました。\n").arg(path));
  };
  try {
    if (interrupted()) {
      leftAsItWas();
    } else if (options.dryRun) {
      checkLibraryIndexTarget(path, services.album.fileSystem);
      writeError(QStringLiteral("一覧ページ（書き込み予定）: %1\n").arg(path));
    } else if (writeLibraryPage(path, albums, options, services, [&] { return !interrupted(); })) {
      writeError(QStringLiteral("一覧ページ: %1\n").arg(path));
    } else {
      leftAsItWas();  // interrupted while another Orv wrote in its folder
    }
  } catch (const RuntimeError& error) {
    reportError(error.description());
    return false;
  }
  return true;
}

// What shapes the run's pages besides the albums, for the record of builds.
QByteArray runSettings(const BatchOptions& options, const BuildServices& services) {
  const album::Services& album = services.album;
  return pageSettings(options, album.templates
                                   ? *album.templates
                                   : PageTemplates::load(album.programFolder, album.fileSystem));
}

// The watch's steps: the run's own building, and its library page, told only on failure.
WatchSteps watchSteps(const QString& indexPath, const BatchOptions& options,
                      const BuildServices& services, RunRecords& records) {
  return {.build =
              [&](const std::vector<AlbumFolder>& albums) {
                std::vector<AlbumOutcome> outcomes(albums.size());
                buildAlbums(
                    albums, options, services, records, nullptr,
                    [&](std::size_t i, AlbumOutcome outcome) { outcomes[i] = std::move(outcome); },
                    [] {});
                return outcomes;
              },
          .writeIndex =
              [&, indexPath](const std::vector<AlbumOutcome>& albums) {
                if (indexPath.isEmpty()) return;
                try {
                  writeLibraryPage(indexPath, albums, options, services,
                                   [&] { return services.interruption.requested() == 0; });
                } catch (const RuntimeError& error) {
                  reportError(error.description());
                }
              }};
}

}  // namespace

int RunBatch(const QStringList& arguments, const BuildServices& services,
             const LibraryServices& library) {
  const ParsedOptions parsed = parseBatchOptions(arguments);
  if (!parsed.usageError.isEmpty()) {
    return usageError(parsed.usageError, QStringLiteral("orv --batch --help"));
  }
  const BatchOptions& options = parsed.options;
  if (options.help || options.version) {
    writeOut(options.help ? batchHelp() : versionLine() + u'\n');
    return kExitDone;
  }
  QString indexPath;
  try {
    indexPath = libraryIndexPath(options.indexFile, services.album.fileSystem);
  } catch (const RuntimeError& error) {
    reportError(error.description());
    return kExitUsage;
  }

  std::optional<LibraryWatch> watch;
  try {
    if (options.watch)
      watch.emplace(options, library.watch, services.album.fileSystem, services.interruption);
  } catch (const RuntimeError& error) {
    reportError(error.description());
    return kExitFailed;
  }
  RunRecords records(library.records, options, runSettings(options, services));

  const QStringList ownFolders =
      indexPath.isEmpty() ? QStringList() : QStringList{coverCopiesFolder(indexPath)};
  const FoundAlbums found =
      FindAlbums(options.folders, options.recursive, services.album.fileSystem, ownFolders);
  WaitingAlbums waiting;
  Report report(found, options, waiting);
  buildAlbums(
      found.albums, options, services, records, &waiting,
      [&](std::size_t, AlbumOutcome outcome) { report.albumDone(std::move(outcome)); },
      [&] { report.waiting(); });
  report.summary();
  const bool indexWritten =
      indexPath.isEmpty() || writeIndex(indexPath, report.outcomes(), options, services);

  if (const int signal = services.interruption.requested(); signal != 0) {
    return exitSignalled(signal);
  }
  if (watch)
    return watch->keepCurrent(report.outcomes(), watchSteps(indexPath, options, services, records));
  return report.anyFailed() || !indexWritten ? kExitFailed : kExitDone;
}

}  // namespace orv::batch
