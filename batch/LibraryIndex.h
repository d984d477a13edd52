#pragma once

#include "batch/AlbumBuild.h"
#include "platform/FileSystem.h"
#include "platform/FolderLocks.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace orv::batch {

// The line by which a library page shows that Orv wrote it; only a file holding it is
// ever replaced.
inline constexpr char kLibraryIndexMarker[] =
    R"(<meta name="generator" content="orv --batch --index">)";

// Whether a library page written to `path` replaces one or is a new file.
enum class LibraryIndexTarget { kNew, kOrvPage };

// Raises a RuntimeError with a Japanese message unless a library page may be written to
// `path` (absolute): its folder exists, and nothing is there yet or a library page that
// Orv wrote (kLibraryIndexMarker) and that may be replaced (FileSystem::replaceFileAtomically
// refuses a protected file, a link and a folder that takes no change).
//
//   checkLibraryIndexTarget("/music/index.html", fs);   // throws for the user's own page
LibraryIndexTarget checkLibraryIndexTarget(const QString& path, platform::FileSystem& fileSystem);

// The library page, UTF-8, for an index file at `path` (absolute): the built and current
// albums (title, artist, track count, total time, and the folder relative to the page, by which
// an album without a title is shown) as a JSON block, from which the page draws a card
// for each, with its cover, linking to its page, and a search box that filters by title,
// artist or folder. The JSON holds no "<": no title is ever markup.
//
//   libraryIndexPage("/music/index.html", {album});   // album.folder "/music/A/B/":
//   // {"folder":"A/B","url":"A/B/","title":…}, the card linking to "A/B/disk.html"
QByteArray libraryIndexPage(const QString& path, const std::vector<AlbumOutcome>& albums);

// Checks `path` as above, then writes the page whole and atomically (an unchanged page is
// left as it is, its time and inode kept): over Orv's page, or
// as a new file that never replaces one that appeared at `path` since the check (that
// raises kFileAlreadyExists and leaves it). All of it under the lock of the page's folder,
// which every Orv takes that writes there (a run writing the same page, a build of an
// album there), waiting for it as FolderLocks::lock does with `keepWaiting`; and under
// it, first removes what a write of the page cut off left. False when the wait was given
// up: nothing was written then.
//
//   writeLibraryIndex("/music/index.html", outcomes, fs, locks, [] { return true; });
bool writeLibraryIndex(const QString& path, const std::vector<AlbumOutcome>& albums,
                       platform::FileSystem& fileSystem, platform::FolderLocks& folderLocks,
                       const std::function<bool()>& keepWaiting);

}  // namespace orv::batch
