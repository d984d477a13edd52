#pragma once

#include "platform/posix/PosixFileSystem.h"

#include <QSet>
#include <QString>

#include <map>

namespace orv::platform {

// PosixFileSystem's dry run (see DryRunFileSystem): reads go to the file system it wraps,
// under the names the files have on disk; each change meets the very precondition that
// the real change meets first (Preconditions.h), on the disk as it is, and is then noted
// down. It lives here, beside PosixFileSystem, rather than with the logic that uses it,
// because those rules are the disk's own (lstat, faccessat, a second name left by a
// rename cut off midway) and the real changes share them function by function, so that
// a dry run can't drift from the run it foretells.
//
//   PosixFileSystem disk;
//   PosixDryRun dry(disk);                      // what disk.dryRun() gives
//   dry.rename("/a/x y.mp3", "/a/x_y.mp3");     // raises what disk.rename would; moves nothing
//   dry.onDisk("/a/x_y.mp3");                   // "/a/x y.mp3"
//   dry.rename("/a/b c.mp3", "/a/x_y.mp3");     // throws renameTakenError: taken on paper
class PosixDryRun : public DryRunFileSystem {
 public:
  explicit PosixDryRun(PosixFileSystem& disk) : disk_(disk) {}

  QString onDisk(const QString& path) const override;

  std::unique_ptr<FolderListing> list(const QString& pattern) override;
  std::vector<QString> listFolders(const QString& folder) override;
  void queryAttributes(const QString& path) override;
  FileId fileId(const QString& path) override;
  void requireReadable(const QString& path) override;
  void rename(const QString& from, const QString& to) override;
  QByteArray readFile(const QString& path) override;
  void replaceFileAtomically(const QString& path, const QByteArray& content) override;
  void createFileAtomically(const QString& path, const QByteArray& content) override;
  bool fileExists(const QString& path) override;
  bool copyFileNoReplaceIf(const QString& from, const QString& to, qsizetype size,
                           const std::function<bool(QByteArrayView)>& accept) override;
  QStringList removeLeftoverTemporaryFiles(const QString& folder,
                                           const QStringList& names) override;
  std::unique_ptr<DryRunFileSystem> dryRun() override;

 private:
  PosixFileSystem& disk_;
  // New path -> the path on disk, and the old paths renamed away.
  std::map<QString, QString> renamedOnPaper_;
  QSet<QString> renamedAway_;
};

}  // namespace orv::platform
