#pragma once

#include "platform/FileSystem.h"
#include "platform/TagPictures.h"
#include "platform/TrackDetails.h"

#include <QString>

#include <memory>
#include <vector>

namespace orv::batch {

// A rename a build did, or would do: full paths.
struct Rename {
  QString from;
  QString to;
};

// The file system as one album's build in the batch uses it: the disk's own, or in a dry
// run the disk's dry run (FileSystem::dryRun), which changes nothing and foretells the
// real run's errors. Either way what the build changed on disk, or would have changed,
// is written down for the batch's report: the renames, the page.
//
//   AlbumFiles files(disk, /*dryRun=*/true);
//   files.rename("/a/x y.mp3", "/a/x_y.mp3");   // written down; the disk keeps "x y.mp3"
//   files.readFile("/a/x_y.mp3");                // the bytes of "/a/x y.mp3"
//   files.renames();                             // {{"/a/x y.mp3", "/a/x_y.mp3"}}
class AlbumFiles : public platform::FileSystem {
 public:
  AlbumFiles(platform::FileSystem& disk, bool dryRun)
      : dryRun_(dryRun ? disk.dryRun() : nullptr), files_(dryRun_ ? *dryRun_ : disk) {}

  // Renames that changed a name, in order.
  const std::vector<Rename>& renames() const { return renames_; }
  // The page written (replaced whole), or empty.
  const QString& page() const { return page_; }

  // Where the file `path` names lies on disk: in a dry run, a file renamed only on
  // paper still lies under its old name.
  QString onDisk(const QString& path) const { return dryRun_ ? dryRun_->onDisk(path) : path; }

  // Written down once done.
  void rename(const QString& from, const QString& to) override;
  void replaceFileAtomically(const QString& path, const QByteArray& content) override;

  // The rest as the file system underneath does it.
  std::unique_ptr<platform::FolderListing> list(const QString& pattern) override {
    return files_.list(pattern);
  }
  std::vector<QString> listFolders(const QString& folder) override {
    return files_.listFolders(folder);
  }
  void queryAttributes(const QString& path) override { files_.queryAttributes(path); }
  platform::FileId fileId(const QString& path) override { return files_.fileId(path); }
  void requireReadable(const QString& path) override { files_.requireReadable(path); }
  QByteArray readFile(const QString& path) override { return files_.readFile(path); }
  void createFileAtomically(const QString& path, const QByteArray& content) override {
    files_.createFileAtomically(path, content);
  }
  bool fileExists(const QString& path) override { return files_.fileExists(path); }
  bool copyFileNoReplaceIf(const QString& from, const QString& to, qsizetype size,
                           const std::function<bool(QByteArrayView)>& accept) override {
    return files_.copyFileNoReplaceIf(from, to, size, accept);
  }
  QStringList removeLeftoverTemporaryFiles(const QString& folder,
                                           const QStringList& names) override {
    return files_.removeLeftoverTemporaryFiles(folder, names);
  }
  std::unique_ptr<platform::DryRunFileSystem> dryRun() override { return files_.dryRun(); }

 private:
  const std::unique_ptr<platform::DryRunFileSystem> dryRun_;  // none in a real run
  platform::FileSystem& files_;                               // the disk, or dryRun_
  std::vector<Rename> renames_;
  QString page_;
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
