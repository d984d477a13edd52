#pragma once

#include "batch/AlbumBuild.h"
#include "platform/FileSystem.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace orv::batch {

// The line by which a library page shows that Orv wrote it; only a file holding it is
// ever replaced.
inline constexpr char kLibraryIndexMarker[] =
    R"(<meta name="generator" content="orv --batch --index">)";

// Raises a RuntimeError with a Japanese message unless a library page may be written to
// `path` (absolute): its folder exists, and nothing is there yet or a library page that
// Orv wrote (kLibraryIndexMarker).
//
//   checkLibraryIndexTarget("/music/index.html", fs);   // throws for the user's own page
void checkLibraryIndexTarget(const QString& path, platform::FileSystem& fileSystem);

// The library page, UTF-8, for an index file at `path` (absolute): one card for each
// built album (cover, title, artist, track count and total time), linking to its page
// by a relative path, with a search box that filters by title or artist. Texts are
// escaped: a title is never markup.
QByteArray libraryIndexPage(const QString& path, const std::vector<AlbumOutcome>& albums);

// Checks `path` as above, then replaces it whole and atomically with the page.
void writeLibraryIndex(const QString& path, const std::vector<AlbumOutcome>& albums,
                       platform::FileSystem& fileSystem);

}  // namespace orv::batch
