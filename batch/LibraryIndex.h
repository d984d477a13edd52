#pragma once

#include "batch/AlbumBuild.h"
#include "platform/FileSystem.h"
#include "platform/FolderLocks.h"

#include <QByteArray>
#include <QDir>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>

#include <functional>
#include <vector>

namespace orv::batch {

class CoverCopies;

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

// The card of an album on the library page in `indexFolder`: its title and artist as
// the tags give them, track count, total time (as text, and in milliseconds to sum) and
// the folder relative to the page, by which the page links to the album and shows one
// without a title.
//
//   libraryCard(QDir("/music"), album)   // album.folder "/music/A/B/":
//   // {"folder":"A/B","title":…}, the card linking to "A/B/disk.html"
QJsonObject libraryCard(const QDir& indexFolder, const album::Summary& album);

// The library page, UTF-8, for an index file at `path` (absolute), of `cards`
// (libraryCards, each with its small copy where CoverCopies::giveCards gave one): a JSON
// block, from which the page draws a card for each, with its cover, linking to its page,
// and a search box that filters by title, artist or folder, and above them what the cards
// count (libraryTotals). The JSON holds no "<": no title is ever markup.
//
//   libraryIndexPage("/music/index.html", libraryCards("/music/index.html", outcomes, {}, fs))
QByteArray libraryIndexPage(const QString& path, const QJsonArray& cards);

// Checks `path` as above, then writes the page of the library after this run
// (libraryCards: the albums of `albums` that were built or are current, and the earlier
// page's albums) whole and atomically, unless it holds those bytes already (its time and
// inode then stay as they were): over Orv's page, or as a new file that never replaces one that
// appeared at `path` since the check (that raises kFileAlreadyExists and leaves it). All
// of it under the lock of the page's folder, which every Orv takes that writes there (a
// run writing the same page, a build of an album there), waiting for it as
// FolderLocks::lock does with `keepWaiting`; and under it, first removes what a write of
// the page cut off left, then reads the earlier page, so that a run that wrote it
// meanwhile keeps its albums. An earlier page of Orv's whose albums can't be read is
// written anew with this run's albums alone, or, when this run built none, left as it
// is, each said in a line on standard error. The covers' small copies, with `covers`, are
// made under the same lock, for every card listed. False when the wait was given up, or
// when `keepWaiting` says no once the copies are made (they stop early then): nothing
// was written then, and the page stays as it was.
//
//   writeLibraryIndex("/music/index.html", outcomes, fs, locks, [] { return true; }, &covers);
bool writeLibraryIndex(const QString& path, const std::vector<AlbumOutcome>& albums,
                       platform::FileSystem& fileSystem, platform::FolderLocks& folderLocks,
                       const std::function<bool()>& keepWaiting,
                       const CoverCopies* covers = nullptr);

}  // namespace orv::batch
