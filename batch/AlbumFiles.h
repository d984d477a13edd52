#pragma once

#include "platform/FileSystem.h"
#include "platform/TagPictures.h"
#include "platform/TrackDetails.h"

#include <QSet>
#include <QString>

#include <map>
#include <vector>

namespace orv::batch {

// A rename a build did, or would do: full paths.
struct Rename {
  QString from;
  QString to;
};

// The file system as one album's build in the batch uses it: the program's own, with
// what the build changes on disk written down (the renames, the page).
//
// In a dry run nothing changes on disk. A rename, the page and the cover are only
// written down or checked, each by the disk's own rules as the real one would be (a
// missing file, a taken name or a rename cut off midway, a protected page, a cover's
// place taken, a folder that takes no change), and later calls see the files under their
// new names. The scan lists a folder before it renames anything, so listings are those
// of the disk.
//
//   AlbumFiles files(disk, /*dryRun=*/true);
//   files.rename("/a/x y.mp3", "/a/x_y.mp3");   // written down; the disk keeps "x y.mp3"
//   files.readFile("/a/x_y.mp3");                // the bytes of "/a/x y.mp3"
class AlbumFiles : public platform::FileSystem {
 public:
  AlbumFiles(platform::FileSystem& disk, bool dryRun) : disk_(disk), dryRun_(dryRun) {}

  // Renames that changed a name, in order.
  const std::vector<Rename>& renames() const { return renames_; }
  // The page written (replaced whole), or empty.
  const QString& page() const { return page_; }

  // Where the file `path` names lies on disk: in a dry run, a file renamed only on
  // paper still lies under its old name.
  QString onDisk(const QString& path) const;

  std::unique_ptr<platform::FolderListing> list(const QString& pattern) override;
  std::vector<QString> listFolders(const QString& folder) override;
  void queryAttributes(const QString& path) override;
  platform::FileId fileId(const QString& path) override;
  void checkReadable(const QString& path) override;
  void rename(const QString& from, const QString& to) override;
  void checkRenameTarget(const QString& from, const QString& to) override;
  QByteArray readFile(const QString& path) override;
  void replaceFileAtomically(const QString& path, const QByteArray& content) override;
  void checkReplaceable(const QString& path) override;
  void createFileAtomically(const QString& path, const QByteArray& content) override;
  void checkCreate(const QString& path) override;
  bool fileExists(const QString& path) override;
  void copyFileNoReplace(const QString& from, const QString& to) override;
  bool copyFileNoReplaceIf(const QString& from, const QString& to, qsizetype size,
                           const std::function<bool(QByteArrayView)>& accept) override;
  void checkCopy(const QString& from, const QString& to) override;
  // In a dry run, removes nothing: what a killed build left is no change of this one's.
  QStringList removeLeftoverTemporaryFiles(const QString& folder,
                                           const QStringList& names) override;

 private:
  platform::FileSystem& disk_;
  const bool dryRun_;
  std::vector<Rename> renames_;
  QString page_;
  // Dry run only: new path -> path on disk, and the old paths renamed away.
  std::map<QString, QString> renamedOnPaper_;
  QSet<QString> renamedAway_;
};

// Tag reading in a dry run: each file's tags are read under the name it has on disk
// (AlbumFiles::onDisk), so the dry run reads what the real build would.
class DryRunTrackDetails : public platform::TrackDetailsReader {
 public:
  DryRunTrackDetails(platform::TrackDetailsReader& disk, const AlbumFiles& files)
      : disk_(disk), files_(files) {}
  platform::TrackDetails read(const QString& path) override {
    return disk_.read(files_.onDisk(path));
  }

 private:
  platform::TrackDetailsReader& disk_;
  const AlbumFiles& files_;
};

// Tag pictures in a dry run: each file's tags are read under the name it has on disk, as
// DryRunTrackDetails reads them.
class DryRunTagPictures : public platform::TagPictures {
 public:
  DryRunTagPictures(platform::TagPictures& disk, const AlbumFiles& files)
      : disk_(disk), files_(files) {}
  std::optional<QByteArray> coverOf(const QString& path) override {
    return disk_.coverOf(files_.onDisk(path));
  }

 private:
  platform::TagPictures& disk_;
  const AlbumFiles& files_;
};

}  // namespace orv::batch
