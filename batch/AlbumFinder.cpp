#include "batch/AlbumFinder.h"

#include "album/AlbumFolder.h"
#include "album/Build.h"
#include "core/ProgramFiles.h"
#include "tracks/FolderScan.h"

#include <QDir>

#include <set>
#include <variant>

namespace orv::batch {
namespace {

class Finder {
 public:
  Finder(platform::FileSystem& fileSystem, FoundAlbums& found)
      : fileSystem_(fileSystem), found_(found) {}

  void add(const QString& folder, std::optional<RuntimeError> error = std::nullopt) {
    add(folder, identity(folder), std::move(error));
  }

  // Makes a walk pass by `folder`, one of the program's own, where it lies in the library.
  void passBy(const QString& folder) { own_.insert(identity(folder)); }

  // Adds the albums at and below `folder`; returns how many, or none when `folder` was
  // walked before, by any path: each folder is counted once. A folder its parent's listing
  // gave (`listed`) that can't be reached by that name is an album with the error.
  std::optional<int> walk(const QString& folder, bool listed = false) {
    Identity id = folder;
    try {
      id = fileSystem_.fileId(folder);
    } catch (const RuntimeError& error) {
      if (listed) {
        // As the scan proves each file reachable under its listed name.
        add(folder, error.is(ErrorCode::kFileNotFound)
                        ? RuntimeError(ErrorCode::kFileNotFound, kSpecialFolderNameMessage)
                        : error);
        return 1;
      }
    }
    if (listed && own_.contains(id)) return std::nullopt;
    if (!walked_.insert(id).second) return std::nullopt;
    platform::FileSystem::FolderLook look;
    try {
      look = fileSystem_.lookIntoFolder(folder, kTrackPattern);
    } catch (const RuntimeError& error) {
      add(folder, id, error);
      return 1;
    }
    int albums = 0;
    if (look.holdsMatch) {
      add(folder, id);
      ++albums;
    } else {
      ++found_.foldersWithoutMp3;
    }
    for (const QString& name : look.folders) {
      albums += walk(folder + name + u'/', /*listed=*/true).value_or(0);
    }
    return albums;
  }

 private:
  // A folder is the same by any path to it: a link, or another spelling. One that can't
  // be reached is known by its path; its build tells why.
  using Identity = std::variant<platform::FileId, QString>;

  void add(const QString& folder, const Identity& id,
           std::optional<RuntimeError> error = std::nullopt) {
    if (!seen_.insert(id).second) return;
    found_.albums.push_back({folder, std::move(error)});
  }
  Identity identity(const QString& folder) {
    try {
      return fileSystem_.fileId(folder);
    } catch (const RuntimeError&) {
      return folder;
    }
  }

  platform::FileSystem& fileSystem_;
  FoundAlbums& found_;
  std::set<Identity> seen_;    // albums added
  std::set<Identity> walked_;  // folders walked
  std::set<Identity> own_;     // the program's own folders, not walked
};

// A path as its absolute, clean spelling: no "." or "..", no trailing "/".
QString absolutePath(const QString& path) {
  return QDir::cleanPath(QDir::current().absoluteFilePath(path));
}

QString asFolder(const QString& path) { return path.endsWith(u'/') ? path : path + u'/'; }

// The album folder a named path stands for: a folder as it is, an MP3 file's folder as
// the window takes it; a path that leads nowhere, or to another file, with its error.
AlbumFolder namedAlbum(const QString& named, platform::FileSystem& fileSystem) {
  const QString path = absolutePath(named);
  try {
    fileSystem.queryAttributes(path);
  } catch (const RuntimeError& error) {
    // One that can't be looked at for another reason: the build tells why.
    if (!error.is(ErrorCode::kFileNotFound)) return {asFolder(path), std::nullopt};
    const QString missing = isMp3FileName(path) ? QStringLiteral("ファイル %1 がありません。")
                                                : QStringLiteral("フォルダー %1 がありません。");
    return {asFolder(path), RuntimeError(ErrorCode::kPathNotFound, missing.arg(path))};
  }
  if (!fileSystem.fileExists(path)) return {asFolder(path), std::nullopt};
  if (isMp3FileName(path)) return {albumFolderOf(path), std::nullopt};
  return {asFolder(path),
          RuntimeError(ErrorCode::kPathFileAccessError,
                       QStringLiteral("%1 はフォルダーではありません。アルバムのフォルダーか、"
                                      "その中のmp3ファイルを指定してください。")
                           .arg(path))};
}

// Whether a folder below `folder`, as -r walks them, holds an MP3 file.
bool mp3FilesBelow(const QString& folder, platform::FileSystem& fileSystem) {
  try {
    for (const QString& name : fileSystem.listFolders(folder)) {
      const QString subfolder = folder + name + u'/';
      if (!fileSystem.list(subfolder + kTrackPattern)->next().isEmpty() ||
          mp3FilesBelow(subfolder, fileSystem)) {
        return true;
      }
    }
  } catch (const RuntimeError&) {
    // A folder that can't be read is no hint.
  }
  return false;
}

}  // namespace

FoundAlbums FindAlbums(const QStringList& named, bool recursive, platform::FileSystem& fileSystem,
                       const QStringList& ownFolders) {
  FoundAlbums found;
  Finder finder(fileSystem, found);
  for (const QString& folder : ownFolders) finder.passBy(folder);
  for (const QString& path : named) {
    AlbumFolder album = namedAlbum(path, fileSystem);
    if (album.error || !recursive) {
      finder.add(album.path, std::move(album.error));
    } else if (finder.walk(album.path) == 0) {
      --found.foldersWithoutMp3;  // reported instead, as an album without MP3 files
      finder.add(album.path);
    }
  }
  return found;
}

QString absoluteFolder(const QString& path) { return asFolder(absolutePath(path)); }

QString noMp3FilesMessage(const QString& folder, platform::FileSystem& fileSystem) {
  if (!mp3FilesBelow(folder, fileSystem)) return album::kNoMp3FilesMessage;
  return album::kNoMp3FilesMessage +
         QStringLiteral(
             "\r\nその下のフォルダーにはmp3ファイルがあります。-r を付けると、"
             "それらをアルバムとして作成します。");
}

}  // namespace orv::batch
