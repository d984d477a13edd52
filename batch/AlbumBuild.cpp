#include "batch/AlbumBuild.h"

#include "album/Build.h"
#include "tracks/TextRules.h"

#include <type_traits>

namespace orv::batch {
namespace {

void fail(AlbumOutcome& outcome, std::optional<int> number, const QString& text) {
  outcome.status = AlbumStatus::kFailed;
  outcome.errorNumber = number;
  outcome.error = text;
}

// A build of the batch waits for another build of its album until the run is
// interrupted.
class BatchEvents : public album::Events {
 public:
  explicit BatchEvents(const platform::Interruption& interruption) : interruption_(interruption) {}
  bool keepWaiting(bool) override { return interruption_.requested() == 0; }

 private:
  const platform::Interruption& interruption_;
};

}  // namespace

AlbumOutcome BuildAlbum(const QString& albumFolder, const BuildServices& services, bool dryRun) {
  AlbumOutcome outcome;
  outcome.folder = albumFolder;
  AlbumFiles files(services.fileSystem, dryRun);
  DryRunDetailSources dryRunDetails(services.detailSources, files);
  BatchEvents events(services.interruption);
  const album::Outcome built =
      album::build(albumFolder,
                   {.fileSystem = files,
                    .detailSources = dryRun ? dryRunDetails : services.detailSources,
                    .folderLocks = services.folderLocks,
                    .programFolder = services.programFolder,
                    .templates = services.templates},
                   events);
  std::visit(
      [&](const auto& result) {
        using Result = std::decay_t<decltype(result)>;
        if constexpr (std::is_same_v<Result, album::Built>) {
          outcome.status = dryRun ? AlbumStatus::kPlanned : AlbumStatus::kBuilt;
          outcome.tracks = result.tracks.value();
          outcome.milliseconds = result.milliseconds;
          // The album as its page shows it: record 0's title and artist.
          outcome.title = Trim(result.table[0].albumTitle);
          outcome.artist = Trim(result.table[0].artist);
          outcome.titleTagged = result.table[0].albumTitleTagged;
          outcome.artistTagged = result.table[0].artistTagged;
        } else if constexpr (std::is_same_v<Result, album::NoAlbum>) {
          fail(outcome, std::nullopt, result.message);
        } else if constexpr (std::is_same_v<Result, album::Failed>) {
          outcome.tracks = result.tracks.value();
          fail(outcome, result.error.number(), result.message);
        } else {
          outcome.status = AlbumStatus::kNotStarted;
        }
      },
      built);
  outcome.renames = files.renames();
  outcome.page = files.page();
  outcome.coverCopied = files.coverCopied();
  return outcome;
}

AlbumOutcome FailedAlbum(const QString& albumFolder, const RuntimeError& error) {
  AlbumOutcome outcome;
  outcome.folder = albumFolder;
  fail(outcome, error.number(), error.description());
  return outcome;
}

AlbumOutcome NotStartedAlbum(const QString& albumFolder) {
  AlbumOutcome outcome;
  outcome.folder = albumFolder;
  outcome.status = AlbumStatus::kNotStarted;
  return outcome;
}

}  // namespace orv::batch
