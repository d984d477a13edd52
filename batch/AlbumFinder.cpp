#include "batch/AlbumFinder.h"

#include "core/ProgramFiles.h"

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
    if (!seen_.insert(identity(folder)).second) return;
    found_.albums.push_back({folder, std::move(error)});
  }

  // Adds the albums at and below `folder`; returns how many.
  int walk(const QString& folder) {
    bool holdsMp3 = false;
    std::vector<QString> subfolders;
    try {
      holdsMp3 = !fileSystem_.list(folder + kTrackPattern)->next().isEmpty();
      subfolders = fileSystem_.listFolders(folder);
    } catch (const RuntimeError& error) {
      add(folder, error);
      return 1;
    }
    int albums = 0;
    if (holdsMp3) {
      add(folder);
      ++albums;
    } else {
      ++found_.foldersWithoutMp3;
    }
    for (const QString& name : subfolders) {
      const QString subfolder = folder + name + u'/';
      // As the scan proves each file reachable under its listed name.
      try {
        fileSystem_.queryAttributes(subfolder);
      } catch (const RuntimeError& error) {
        add(subfolder, error.is(ErrorCode::kFileNotFound)
                           ? RuntimeError(ErrorCode::kFileNotFound, kSpecialFolderNameMessage)
                           : error);
        ++albums;
        continue;
      }
      albums += walk(subfolder);
    }
    return albums;
  }

 private:
  // A folder is the same by any path to it: a link, or another spelling. One that can't
  // be reached is known by its path; its build tells why.
  using Identity = std::variant<platform::FileId, QString>;
  Identity identity(const QString& folder) {
    try {
      return fileSystem_.fileId(folder);
    } catch (const RuntimeError&) {
      return folder;
    }
  }

  platform::FileSystem& fileSystem_;
  FoundAlbums& found_;
  std::set<Identity> seen_;
};

}  // namespace

QString absoluteFolder(const QString& path) {
  QString folder = QDir::cleanPath(QDir::current().absoluteFilePath(path));
  if (!folder.endsWith(u'/')) folder += u'/';
  return folder;
}

FoundAlbums FindAlbums(const QStringList& named, bool recursive, platform::FileSystem& fileSystem) {
  FoundAlbums found;
  Finder finder(fileSystem, found);
  for (const QString& path : named) {
    const QString folder = absoluteFolder(path);
    if (!recursive) {
      finder.add(folder);
    } else if (finder.walk(folder) == 0) {
      --found.foldersWithoutMp3;  // reported instead, as an album without MP3 files
      finder.add(folder);
    }
  }
  return found;
}

}  // namespace orv::batch
