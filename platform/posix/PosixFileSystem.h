#pragma once

#include "platform/FileSystem.h"

namespace orv::platform {

// The file system on POSIX calls: readdir for listings (so no name is silently left
// out), renameat2 without replacing, write-sync-rename for pages, through files without
// a name (O_TMPFILE) where the file system has them. Each change first meets its
// precondition (Preconditions.h), which its dry run meets alike.
class PosixFileSystem : public FileSystem {
 public:
  // How new files are written before they take their names.
  enum class TemporaryFiles {
    kUnnamedWherePossible,  // O_TMPFILE where the file system allows it, else named
    kNamed,                 // always under a hidden name of the program's own making
  };
  explicit PosixFileSystem(TemporaryFiles temporaryFiles = TemporaryFiles::kUnnamedWherePossible)
      : temporaryFiles_(temporaryFiles) {}

  // Listings, attributes, renames (PosixFileSystem.cpp).
  std::unique_ptr<FolderListing> list(const QString& pattern) override;
  std::vector<ListedFile> listWithFacts(const QString& pattern) override;
  std::vector<QString> listFolders(const QString& folder) override;
  FolderLook lookIntoFolder(const QString& folder, const QString& pattern) override;
  void queryAttributes(const QString& path) override;
  FileId fileId(const QString& path) override;
  std::optional<FileFacts> fileFacts(const QString& path) override;
  void requireReadable(const QString& path) override;
  void rename(const QString& from, const QString& to) override;

  // Whole files (PosixFiles.cpp).
  QByteArray readFile(const QString& path) override;
  void replaceFileAtomically(const QString& path, const QByteArray& content) override;
  bool replaceFileIfDifferent(const QString& path, const QByteArray& content) override;
  void createFileAtomically(const QString& path, const QByteArray& content) override;
  bool fileExists(const QString& path) override;
  bool copyFileNoReplaceIf(const QString& from, const QString& to, qsizetype size,
                           const std::function<bool(QByteArrayView)>& accept) override;
  QStringList removeLeftoverTemporaryFiles(const QString& folder,
                                           const QStringList& names) override;
  void createFolder(const QString& path) override;
  void removeFile(const QString& path) override;

  // The dry run (PosixDryRun.cpp): reads go to this file system, under the names the files
  // have on disk; each change calls the very precondition the real change calls first,
  // on the disk as it is, and is then noted down. It is made here, beside the changes,
  // rather than with the logic that uses it, because those rules are the disk's own
  // (lstat, faccessat, a second name left by a rename cut off midway), shared function
  // by function, so that a dry run can't drift from the run it foretells.
  //
  //   PosixFileSystem disk;
  //   auto dry = disk.dryRun();
  //   dry->rename("/a/x y.mp3", "/a/x_y.mp3");   // raises what disk.rename would; moves nothing
  //   dry->rename("/a/b c.mp3", "/a/x_y.mp3");   // throws renameTakenError: taken on paper
  std::unique_ptr<DryRunFileSystem> dryRun() override;

 private:
  bool unnamed() const { return temporaryFiles_ == TemporaryFiles::kUnnamedWherePossible; }
  TemporaryFiles temporaryFiles_;
};

}  // namespace orv::platform
