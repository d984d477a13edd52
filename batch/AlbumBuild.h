#pragma once

#include "album/Build.h"
#include "batch/BatchOptions.h"
#include "platform/Interruption.h"
#include "platform/PictureConverter.h"
#include "platform/TagPictures.h"

#include <QString>
#include <QStringList>

#include <mutex>
#include <optional>

namespace orv::batch {

enum class AlbumStatus {
  kBuilt,       // page written
  kPlanned,     // dry run: the build would write its page
  kCurrent,     // unchanged since Orv built it (see CurrentAlbums.h): left alone
  kFailed,      // ended early, as the window would have
  kNotStarted,  // the run was interrupted before the build began
};

// What became of one album folder: the album as its build tells it, and how it ended.
struct AlbumOutcome {
  AlbumStatus status = AlbumStatus::kFailed;
  album::Summary album;              // album.folder always; the rest as far as the build came
  std::optional<int> errorNumber{};  // a failure's run-time error number, where it has one
  QString error{};                   // a failure's text, as the window would show it
};

// What every album's build works with: the album's build's own, and the batch's. Shared
// by the albums built at once, so each must be safe to use from several threads.
struct BuildServices {
  // Its templates read and encoded once for every album of the run.
  album::Services album;
  const platform::Interruption& interruption;
  platform::TagPictures& tagPictures;  // for --covers
  platform::PictureConverter& pictures;
};

// The albums whose builds wait for another build of theirs (another Orv's) to end, in
// the order they began to wait, for the progress line. Shared by the builds of a run.
//
//   waiting.add("/m/A/");  waiting.folders() == QStringList{"/m/A/"};  waiting.remove("/m/A/");
class WaitingAlbums {
 public:
  void add(const QString& folder);
  void remove(const QString& folder);
  QStringList folders() const;

 private:
  mutable std::mutex mutex_;
  QStringList folders_;
};

// Builds the album in `albumFolder` (ending in "/") by the window's own build
// (album::build), once the window's file is chosen. What the window would show in a
// message box before it ends, or report as an unhandled error, fails this album alone,
// with the same text, and leaves its folder as the window would. An album that another
// build holds is waited for, unless the run is interrupted first: then it is not
// started; meanwhile it is among the `waiting`, when given. A dry run (options.dryRun) changes
// nothing on disk. With options.covers an album without jacket.jpg, or with the program's,
// gets its own picture (coverAlbum); with options.textEncoding its 8-bit tag texts are
// read in that encoding. Never throws.
//
//   AlbumOutcome outcome = BuildAlbum("/music/album/", services, options);
//   if (outcome.status == AlbumStatus::kFailed) print(outcome.error);
AlbumOutcome BuildAlbum(const QString& albumFolder, const BuildServices& services,
                        const BatchOptions& options, WaitingAlbums* waiting = nullptr);

// The outcome of a folder that was not built at all: failed with `error`.
AlbumOutcome FailedAlbum(const QString& albumFolder, const RuntimeError& error);

// The outcome of a folder that the interrupted run did not start.
AlbumOutcome NotStartedAlbum(const QString& albumFolder);

}  // namespace orv::batch
