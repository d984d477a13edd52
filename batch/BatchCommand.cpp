#include "batch/BatchCommand.h"

#include "batch/AlbumBuild.h"
#include "batch/AlbumFinder.h"
#include "batch/BatchOptions.h"
#include "batch/BatchOutput.h"
#include "batch/LibraryIndex.h"
#include "core/CommandLine.h"

#include <QDir>

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace orv::batch {
namespace {

constexpr int kExitBuilt = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
// Ended by a signal: this plus its number, as a shell reports a program the signal killed.
constexpr int kExitSignalled = 128;

int usageError(const QString& text) {
  writeError(
      QStringLiteral("orv: %1\n使い方は orv --batch --help で確かめてください。\n").arg(text));
  return kExitUsage;
}

// The albums, built by `jobs` threads at once, each album whole on one thread. Hands
// the outcomes to `done(index, outcome)` on the calling thread in the albums' order,
// each as soon as it and all before it are built, and `waiting()` every tenth of a
// second meanwhile.
template <typename Build, typename Done, typename Waiting>
void buildInParallel(std::size_t albums, int jobs, Build&& build, Done&& done, Waiting&& waiting) {
  std::vector<std::optional<AlbumOutcome>> outcomes(albums);
  std::mutex mutex;
  std::condition_variable ready;
  std::atomic<std::size_t> next{0};
  const auto work = [&] {
    for (std::size_t i; (i = next++) < albums;) {
      AlbumOutcome outcome = build(i);
      const std::lock_guard lock(mutex);
      outcomes[i] = std::move(outcome);
      ready.notify_one();
    }
  };
  std::vector<std::jthread> threads;
  const std::size_t count = std::min<std::size_t>(static_cast<std::size_t>(jobs), albums);
  for (std::size_t t = 0; t < count; ++t) threads.emplace_back(work);

  for (std::size_t i = 0; i < albums; ++i) {
    std::unique_lock lock(mutex);
    while (!ready.wait_for(lock, std::chrono::milliseconds(100),
                           [&] { return outcomes[i].has_value(); })) {
      lock.unlock();
      waiting();
      lock.lock();
    }
    AlbumOutcome outcome = std::move(*outcomes[i]);
    lock.unlock();
    done(i, std::move(outcome));
  }
}

}  // namespace

int RunBatch(const QStringList& arguments, const BuildServices& services) {
  const ParsedOptions parsed = parseBatchOptions(arguments);
  if (!parsed.usageError.isEmpty()) return usageError(parsed.usageError);
  const BatchOptions& options = parsed.options;
  if (options.help) {
    writeOut(batchHelp());
    return kExitBuilt;
  }
  if (options.version) {
    writeOut(versionLine() + u'\n');
    return kExitBuilt;
  }
  platform::FileSystem& fileSystem = services.fileSystem;
  const auto interrupted = [&] { return services.interruption.requested() != 0; };

  // A library page that may not be written stops the batch before it changes anything.
  const QString indexPath =
      options.indexFile.isEmpty()
          ? QString()
          : QDir::cleanPath(QDir::current().absoluteFilePath(options.indexFile));
  if (!indexPath.isEmpty()) {
    try {
      checkLibraryIndexTarget(indexPath, fileSystem);
    } catch (const RuntimeError& error) {
      writeError(QStringLiteral("orv: %1\n").arg(error.description()));
      return kExitUsage;
    }
  }

  const FoundAlbums found = FindAlbums(options.folders, options.recursive, fileSystem);
  const std::vector<AlbumFolder>& albums = found.albums;
  Tally tally{.skipped = found.foldersWithoutMp3};
  Progress progress(static_cast<int>(albums.size()), ::isatty(STDERR_FILENO) == 1);
  std::vector<AlbumOutcome> outcomes;
  outcomes.reserve(albums.size());

  buildInParallel(
      albums.size(), options.jobs,
      [&](std::size_t i) {
        const AlbumFolder& album = albums[i];
        if (interrupted()) return NotStartedAlbum(album.path);
        return album.error ? FailedAlbum(album.path, *album.error)
                           : BuildAlbum(album.path, services, options);
      },
      [&](std::size_t, AlbumOutcome outcome) {
        if (outcome.status == AlbumStatus::kNotStarted) {
          ++tally.notStarted;
        } else if (outcome.status == AlbumStatus::kFailed) {
          ++tally.failed;
        } else {
          ++tally.built;
          tally.tracks += outcome.tracks;
        }
        progress.clear();
        if (outcome.status != AlbumStatus::kNotStarted) {
          writeOut(options.json ? albumJson(outcome) : albumLines(outcome, options.dryRun));
        }
        outcomes.push_back(std::move(outcome));
        progress.update(static_cast<int>(outcomes.size()), tally.tracks, /*now=*/true);
      },
      [&] { progress.update(static_cast<int>(outcomes.size()), tally.tracks); });
  progress.clear();
  writeError(summaryLine(tally, options.dryRun, progress.secondsElapsed()));

  int status = tally.failed > 0 ? kExitFailed : kExitBuilt;
  if (!indexPath.isEmpty()) {
    const auto leftAsItWas = [&] {
      writeError(
          QStringLiteral("中断したため、一覧ページ %1 はそのままにしました。\n").arg(indexPath));
    };
    try {
      if (interrupted()) {
        leftAsItWas();
      } else if (options.dryRun) {
        checkLibraryIndexTarget(indexPath, fileSystem);
        writeError(QStringLiteral("一覧ページ（書き込み予定）: %1\n").arg(indexPath));
      } else if (writeLibraryIndex(indexPath, outcomes, fileSystem, services.folderLocks,
                                   [&] { return !interrupted(); })) {
        writeError(QStringLiteral("一覧ページ: %1\n").arg(indexPath));
      } else {
        leftAsItWas();  // interrupted while another Orv wrote in its folder
      }
    } catch (const RuntimeError& error) {
      writeError(QStringLiteral("orv: %1\n").arg(error.description()));
      status = kExitFailed;
    }
  }
  if (interrupted()) return kExitSignalled + services.interruption.requested();
  return status;
}

}  // namespace orv::batch
