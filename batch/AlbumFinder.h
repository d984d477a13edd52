#pragma once

#include "core/RuntimeError.h"
#include "platform/FileSystem.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace orv::batch {

// What the batch tells of a folder whose name the file system lists but that cannot be
// reached under it (a name that is not valid UTF-8).
inline const QString kSpecialFolderNameMessage = QStringLiteral(
    "フォルダー名の中に特殊文字が含まれている可能性があります。\r\n"
    "フォルダー名を変更した後、もう一度プログラムを実行してください。");

// One album folder to build, or one that can't be: then `error` says why.
struct AlbumFolder {
  QString path;  // absolute, ending in "/"
  std::optional<RuntimeError> error;
};

struct FoundAlbums {
  std::vector<AlbumFolder> albums;  // in the order named, and within a walk, found
  int foldersWithoutMp3 = 0;        // looked at under `recursive`, and not albums
};

// The albums of the folders the user named (relative to the working folder, or
// absolute). Each named folder is an album, and so is the folder of a named MP3 file, as
// the window takes it; a path that leads nowhere is an album with the error that names
// it (kPathNotFound), another file one with the error that says it is no folder
// (kPathFileAccessError). With `recursive`, every folder at or below a named one that
// holds an MP3 file, as the scan lists them, is an album instead, in name order, a folder
// before the folders in it; hidden folders and symbolic links to folders are not entered
// (a named folder may be a link). A named folder under which none holds an MP3 file stays
// an album, so that the scan reports it as the window does. A folder met twice, by any
// path (a link to it, another spelling), is built once, and walked and counted once.
// Folders that can't be read or reached are albums with their error. `ownFolders`, the
// program's own (the library page's cover copies), are no folders of the library: a walk
// passes them by, uncounted.
//
//   FindAlbums({"Music"}, /*recursive=*/true, fs).albums  // "/home/u/Music/A/B/", …
FoundAlbums FindAlbums(const QStringList& named, bool recursive, platform::FileSystem& fileSystem,
                       const QStringList& ownFolders = {});

// `path` as an absolute folder path ending in "/", relative paths taken from the working
// folder, "." and ".." resolved by name.
//
//   absoluteFolder("Music/./A")  == "/home/u/Music/A/"
QString absoluteFolder(const QString& path);

// What the batch tells of `folder` (ending in "/") that holds no MP3 file, when it was
// not walked (no -r): the window's message, and where folders below it hold MP3 files,
// that -r would build them.
//
//   noMp3FilesMessage("/music/Double Album/", fs)   // … "-r を付けると、…"
QString noMp3FilesMessage(const QString& folder, platform::FileSystem& fileSystem);

}  // namespace orv::batch
