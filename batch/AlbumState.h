#pragma once

#include "batch/BatchOptions.h"
#include "output/PageTemplates.h"
#include "platform/FileSystem.h"
#include "tracks/FolderScan.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace orv::batch {

// What decides whether an album is current: nothing it was built from has changed since
// (its tracks, the templates, Orv's version, the options that shape its page), and what
// the build wrote is still there as it left it.

// An album's files as the file system shows them, without opening any: its tracks, from
// which its page is made, and the page and cover its build leaves.
struct AlbumFiles {
  std::vector<platform::ListedFile> tracks;  // the MP3 files, in the listing's order
  std::optional<platform::FileFacts> page;   // disk.html
  std::optional<platform::FileFacts> cover;  // jacket.jpg
  bool operator==(const AlbumFiles&) const = default;
};

// One listing of `folder` (ending in "/") with a look at each of its tracks, and a look
// at its page and cover. A track gone between the two is left out. Raises what stops the
// listing or a look.
//
//   lookAtAlbum("/music/album/", fs).tracks[0].facts.changed
AlbumFiles lookAtAlbum(const QString& folder, platform::FileSystem& fileSystem);

// Whether the tracks went from `before` to `after` by the build's `renames` alone: each
// renamed track the same file with the same size and modification time (a rename moves
// the change time), every other track exactly as it was. Anything else changed while the
// build read them, and its page may be of neither.
bool changedOnlyByRenames(const AlbumFiles& before, const AlbumFiles& after,
                          const std::vector<Rename>& renames);

// Everything outside the album folders that shapes the pages of a run: the version of Orv,
// the templates, and the options of the run that shape a page. An option that comes to
// shape pages is one line here.
//
//   pageSettings(options, templates) != pageSettings(withCovers, templates)
QByteArray pageSettings(const BatchOptions& options, const PageTemplates& templates);

// The album's state: its files under `settings`, as a hash (SHA-256) that changes
// whenever either does.
QByteArray albumState(const QByteArray& settings, const AlbumFiles& files);

}  // namespace orv::batch
