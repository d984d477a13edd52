#include "batch/AlbumBuild.h"

#include "batch/AlbumCover.h"
#include "batch/AlbumFinder.h"
#include "tracks/TextRules.h"

#include <memory>
#include <type_traits>
#include <utility>

namespace orv::batch {
namespace {

// A build of the batch waits for another build of its album until the run is
// interrupted, among the albums waiting meanwhile.
class BatchEvents : public album::Events {
 public:
  BatchEvents(const platform::Interruption& interruption, QString folder, WaitingAlbums* waiting)
      : interruption_(interruption), folder_(std::move(folder)), waiting_(waiting) {}
  ~BatchEvents() override { waitOver(); }

  bool keepWaiting(bool first) override {
    if (first && waiting_) {
      waiting_->add(folder_);
      listed_ = true;
    }
    return interruption_.requested() == 0;
  }
  void waitOver() override {
    if (std::exchange(listed_, false)) waiting_->remove(folder_);
  }

 private:
  const platform::Interruption& interruption_;
  const QString folder_;
  WaitingAlbums* const waiting_;
  bool listed_ = false;
};

// With --covers, the album's own picture in place of the program's cover.
class OwnPictureCover : public album::CoverStep {
 public:
  explicit OwnPictureCover(const BuildServices& services) : services_(services) {}

  album::CoverSource coverAlbum(const QString& albumFolder, const TrackTable& table,
                                Int16 count) override {
    std::vector<QString> tracks;
    tracks.reserve(static_cast<std::size_t>(count.value()));
    for (Int16 k = 0; k < count; ++k) tracks.push_back(Trim(table[k].fileName));
    return batch::coverAlbum(albumFolder, tracks, services_);
  }

 private:
  const BuildServices& services_;
};

// In a dry run a track is read under the name it has on disk, as the real build would
// read it once renamed.
class DryRunTrackDetails : public platform::TrackDetailsReader {
 public:
  DryRunTrackDetails(platform::TrackDetailsReader& disk, const platform::DryRunFileSystem& files)
      : disk_(disk), files_(files) {}
  platform::TrackDetails read(const QString& path) override {
    return disk_.read(files_.onDisk(path));
  }

 private:
  platform::TrackDetailsReader& disk_;
  const platform::DryRunFileSystem& files_;
};

// And so are its tags' pictures.
class DryRunTagPictures : public platform::TagPictures {
 public:
  DryRunTagPictures(platform::TagPictures& disk, const platform::DryRunFileSystem& files)
      : disk_(disk), files_(files) {}
  std::vector<platform::PictureKind> picturesOf(const QString& path) override {
    return disk_.picturesOf(files_.onDisk(path));
  }
  std::optional<QByteArray> pictureOf(const QString& path, std::size_t index) override {
    return disk_.pictureOf(files_.onDisk(path), index);
  }

 private:
  platform::TagPictures& disk_;
  const platform::DryRunFileSystem& files_;
};

AlbumOutcome outcomeOf(album::Outcome&& built, bool dryRun) {
  return std::visit(
      [&](auto&& result) -> AlbumOutcome {
        using Result = std::decay_t<decltype(result)>;
        if constexpr (std::is_same_v<Result, album::Built>) {
          return {dryRun ? AlbumStatus::kPlanned : AlbumStatus::kBuilt, std::move(result.album)};
        } else if constexpr (std::is_same_v<Result, album::NoAlbum>) {
          return {AlbumStatus::kFailed, {}, std::nullopt, result.message};
        } else if constexpr (std::is_same_v<Result, album::Failed>) {
          return {AlbumStatus::kFailed, std::move(result.album), result.error.number(),
                  result.message};
        } else {
          return {AlbumStatus::kNotStarted, {}};
        }
      },
      std::move(built));
}

}  // namespace

void WaitingAlbums::add(const QString& folder) {
  const std::lock_guard lock(mutex_);
  folders_ << folder;
}

void WaitingAlbums::remove(const QString& folder) {
  const std::lock_guard lock(mutex_);
  folders_.removeOne(folder);
}

QStringList WaitingAlbums::folders() const {
  const std::lock_guard lock(mutex_);
  return folders_;
}

AlbumOutcome BuildAlbum(const QString& albumFolder, const BuildServices& services,
                        const BatchOptions& options, WaitingAlbums* waiting) {
  // A dry run builds on the disk's dry run, which changes nothing and foretells the real
  // run's errors; its tracks are read where they lie.
  const std::unique_ptr<platform::DryRunFileSystem> dryRun =
      options.dryRun ? services.album.fileSystem.dryRun() : nullptr;
  std::optional<DryRunTrackDetails> dryRunDetails;
  std::optional<DryRunTagPictures> dryRunPictures;
  if (dryRun) {
    dryRunDetails.emplace(services.album.trackDetails, *dryRun);
    dryRunPictures.emplace(services.tagPictures, *dryRun);
  }
  const BuildServices build{
      .album = {.fileSystem = dryRun ? *dryRun : services.album.fileSystem,
                .trackDetails = dryRun ? *dryRunDetails : services.album.trackDetails,
                .folderLocks = services.album.folderLocks,
                .programFolder = services.album.programFolder,
                .templates = services.album.templates,
                .textEncoding = options.textEncoding},
      .interruption = services.interruption,
      .tagPictures = dryRun ? *dryRunPictures : services.tagPictures,
      .pictures = services.pictures};
  OwnPictureCover ownPicture(build);
  BatchEvents events(services.interruption, albumFolder, waiting);
  album::Outcome built =
      album::build(albumFolder, build.album, events, options.covers ? &ownPicture : nullptr);
  if (auto* none = std::get_if<album::NoAlbum>(&built);
      none && !options.recursive && none->message == album::kNoMp3FilesMessage) {
    none->message = noMp3FilesMessage(albumFolder, build.album.fileSystem);
  }
  AlbumOutcome outcome = outcomeOf(std::move(built), options.dryRun);
  outcome.album.folder = albumFolder;
  return outcome;
}

AlbumOutcome FailedAlbum(const QString& albumFolder, const RuntimeError& error) {
  return {AlbumStatus::kFailed, {.folder = albumFolder}, error.number(), error.description()};
}

AlbumOutcome NotStartedAlbum(const QString& albumFolder) {
  return {AlbumStatus::kNotStarted, {.folder = albumFolder}};
}

}  // namespace orv::batch
