#include "batch/AlbumBuild.h"

#include "album/Build.h"
#include "output/AlbumPage.h"
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

// The batch's cover: with --covers the album's own picture, else the program's cover as
// the window copies it; either way, where it came from.
class BatchCover : public album::CoverStep {
 public:
  BatchCover(const CoverServices& services, bool ownPictures)
      : services_(services), ownPictures_(ownPictures) {}

  void coverAlbum(const QString& albumFolder, const TrackTable& table, Int16 count) override {
    if (!ownPictures_) {
      const bool copied =
          CopyProgramCover(services_.fileSystem, services_.programFolder, albumFolder);
      source = CoverSource{copied ? CoverSource::Kind::kPlaceholder : CoverSource::Kind::kKept, {}};
      return;
    }
    std::vector<QString> tracks;
    tracks.reserve(static_cast<std::size_t>(count.value()));
    for (Int16 k = 0; k < count; ++k) tracks.push_back(Trim(table[k].fileName));
    source = batch::coverAlbum(albumFolder, tracks, services_);
  }

  std::optional<CoverSource> source;

 private:
  const CoverServices services_;
  const bool ownPictures_;
};

}  // namespace

AlbumOutcome BuildAlbum(const QString& albumFolder, const BuildServices& services,
                        const BatchOptions& options) {
  const bool dryRun = options.dryRun;
  AlbumOutcome outcome;
  outcome.folder = albumFolder;
  AlbumFiles files(services.fileSystem, dryRun);
  DryRunTrackDetails dryRunDetails(services.trackDetails, files);
  DryRunTagPictures dryRunPictures(services.tagPictures, files);
  BatchCover cover({.fileSystem = files,
                    .tagPictures = dryRun ? dryRunPictures : services.tagPictures,
                    .pictures = services.pictures,
                    .programFolder = services.programFolder},
                   options.covers);
  BatchEvents events(services.interruption);
  const album::Outcome built =
      album::build(albumFolder,
                   {.fileSystem = files,
                    .trackDetails = dryRun ? dryRunDetails : services.trackDetails,
                    .folderLocks = services.folderLocks,
                    .programFolder = services.programFolder,
                    .templates = services.templates,
                    .cover = &cover,
                    .textEncoding = options.textEncoding},
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
          outcome.textVerdict = result.textVerdict;
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
  outcome.cover = cover.source;
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
