#pragma once

#include "batch/AlbumCover.h"
#include "batch/AlbumFiles.h"
#include "batch/BatchOptions.h"
#include "output/PageTemplates.h"
#include "platform/FileSystem.h"
#include "platform/FolderLocks.h"
#include "platform/Interruption.h"
#include "platform/PictureConverter.h"
#include "platform/TagPictures.h"
#include "platform/TrackDetails.h"
#include "text/AlbumTexts.h"

#include <QString>

#include <optional>
#include <vector>

namespace orv::batch {

enum class AlbumStatus {
  kBuilt,       // page written
  kPlanned,     // dry run: the build would write its page
  kFailed,      // ended early, as the window would have
  kNotStarted,  // the run was interrupted before the build began
};

// What became of one album folder.
struct AlbumOutcome {
  QString folder;  // the album folder, ending in "/"
  AlbumStatus status = AlbumStatus::kFailed;
  int tracks = 0;           // the count of the scan's counting pass
  qint64 milliseconds = 0;  // the total play time the page shows
  QString title;            // the album's title and artist as the page shows them
  QString artist;
  bool titleTagged = false;  // whether they come from the tags, not the default texts
  bool artistTagged = false;
  std::vector<Rename> renames;  // done (or, in a dry run, to be done), even on a failure
  QString page;                 // the page written (or to be written); empty if none
  // Where the album's jacket.jpg came (or would come) from; none when the build stopped
  // before its cover.
  std::optional<CoverSource> cover;
  // How its 8-bit tag texts were read; no encoding when it has none or was not built.
  text::AlbumVerdict textVerdict;
  std::optional<int> errorNumber;  // a failure's run-time error number, where it has one
  QString error;                   // a failure's text, as the window would show it
};

// What every album's build works with; shared by the albums built at once, so each
// must be safe to use from several threads.
struct BuildServices {
  platform::FileSystem& fileSystem;
  platform::TrackDetailsReader& trackDetails;
  platform::FolderLocks& folderLocks;
  const platform::Interruption& interruption;
  platform::TagPictures& tagPictures;  // for --covers
  platform::PictureConverter& pictures;
  QString programFolder;  // holds head.txt, tail.txt and jacket.jpg; ends in "/"
  // head.txt and tail.txt read and encoded once for every album of the run; null: each
  // album reads them.
  const PageTemplates* templates = nullptr;
};

// Builds the album in `albumFolder` (ending in "/") by the window's own build
// (album::build), once the window's file is chosen. What the window would show in a
// message box before it ends, or report as an unhandled error, fails this album alone,
// with the same text, and leaves its folder as the window would. An album that another
// build holds is waited for, unless the run is interrupted first: then it is not
// started. A dry run (options.dryRun) changes nothing on disk. With options.covers an
// album without jacket.jpg gets its own picture (coverAlbum) in place of the program's;
// with options.textEncoding its 8-bit tag texts are read in that encoding.
// Never throws.
//
//   AlbumOutcome outcome = BuildAlbum("/music/album/", services, options);
//   if (outcome.status == AlbumStatus::kFailed) print(outcome.error);
AlbumOutcome BuildAlbum(const QString& albumFolder, const BuildServices& services,
                        const BatchOptions& options);

// The outcome of a folder that was not built at all: failed with `error`.
AlbumOutcome FailedAlbum(const QString& albumFolder, const RuntimeError& error);

// The outcome of a folder that the interrupted run did not start.
AlbumOutcome NotStartedAlbum(const QString& albumFolder);

}  // namespace orv::batch
