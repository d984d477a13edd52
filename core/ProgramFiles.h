#pragma once

#include <QString>

namespace orv {

// Orv's own files, each named once. A build writes the album page and its cover into
// the album folder; the page's templates and the placeholder cover lie beside the
// program.
//
//   albumFolder + kAlbumPageName     // "/music/album/disk.html"
//   programFolder + kHeadTemplate    // "/usr/lib/orv/head.txt"
inline const QString kAlbumPageName = QStringLiteral("disk.html");
inline const QString kCoverName = QStringLiteral("jacket.jpg");
inline const QString kHeadTemplate = QStringLiteral("head.txt");
inline const QString kTailTemplate = QStringLiteral("tail.txt");
// The tracks of an album: its MP3 files, in any letter case (FileSystem::list's pattern).
inline const QString kTrackPattern = QStringLiteral("*.mp3");

}  // namespace orv
