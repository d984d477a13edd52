#pragma once

#include "core/CheckedInt.h"
#include "output/PageTemplates.h"
#include "platform/FileSystem.h"
#include "tracks/TrackTable.h"

#include <QString>

namespace orv {

// Writes the album page disk.html into the album folder (the trimmed folderPath of
// record 0): the lines of head.txt, the script data block of records 0 to n - 1, the
// lines of tail.txt, all in CP932 with CR LF line ends. Track texts are trimmed and
// escaped so that the script reads them back exactly (see AppendScriptString). The page
// is built in memory and replaces the previous one only when complete: on any failure
// the previous disk.html is left as it was. A disk.html that is already this very page
// is left as it is, its time and inode unchanged. Then copies jacket.jpg from the program
// folder when the album folder has none; a cover already there, or arriving meanwhile,
// is never replaced. `programFolder` ends in "/".
//
// Returns the album's play time, the sum of the page's `tim` entries in milliseconds.
//
// Raises RuntimeError naming the file, with the ErrorCode kFileNotFound for a missing
// template or program cover, kPathNotFound for a missing album folder, kPermissionDenied
// for one that can't be written, kPathFileAccessError for a disk.html that is read-only
// or a symbolic link (no cover is copied then) and for a template that isn't CP932 text;
// kOverflow and kSubscriptOutOfRange from PlayTimeToMilliseconds; kOverflow for
// n = 32,767.
//
//   const qint64 milliseconds = WriteAlbumHtml(table, table.count(), "/usr/lib/orv/", fs);
qint64 WriteAlbumHtml(const TrackTable& table, Int16 n, const QString& programFolder,
                      platform::FileSystem& fileSystem);

// What writing the page did: the album's play time (as WriteAlbumHtml returns it), and
// whether disk.html changed (false: it held this very page and was left as it was).
struct WrittenPage {
  qint64 milliseconds = 0;
  bool changed = true;
};

// The two steps of WriteAlbumHtml, for a build that knows its album folder (ending in
// "/") and gives the album its cover another way: the page alone (the same errors, no
// cover), and the cover alone.
WrittenPage WriteAlbumPage(const QString& albumFolder, const TrackTable& table, Int16 n,
                           const QString& programFolder, platform::FileSystem& fileSystem);

// The page alone with the templates read and encoded beforehand, once for many pages;
// their errors are raised where the page would have read them.
//
//   const PageTemplates templates = PageTemplates::load(programFolder, fileSystem);
//   for (…) WriteAlbumPage(albumFolder, table, n, templates, fileSystem);
WrittenPage WriteAlbumPage(const QString& albumFolder, const TrackTable& table, Int16 n,
                           const PageTemplates& templates, platform::FileSystem& fileSystem);

// Copies the program's jacket.jpg into `albumFolder` (ending in "/") unless it has one,
// as WriteAlbumHtml does: true when it copied, false when the album had its cover (or one
// arrived meanwhile, which stays).
//
//   if (CopyProgramCover(fs, "/usr/lib/orv/", "/music/album/")) say("copied");
bool CopyProgramCover(platform::FileSystem& fileSystem, const QString& programFolder,
                      const QString& albumFolder);

// Whether the file `path` holds byte for byte the program's own jacket.jpg, the
// placeholder a build copies: only a file of the placeholder's size is read. False when
// there is no file under `path`.
//
//   if (HoldsProgramCover(fs, "/usr/lib/orv/", "/music/album/jacket.jpg")) replace(…);
bool HoldsProgramCover(platform::FileSystem& fileSystem, const QString& programFolder,
                       const QString& path);

}  // namespace orv
