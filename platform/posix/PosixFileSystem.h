#pragma once

#include "platform/FileSystem.h"

namespace orv::platform {

// The file system on POSIX calls: readdir for listings (so no name is silently left
// out), renameat2 without replacing, write-sync-rename for pages, through files without
// a name (O_TMPFILE) where the file system has them. Each change first meets its
// precondition (Preconditions.h), which its dry run (PosixDryRun) meets alike.
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
  std::vector<QString> listFolders(const QString& folder) override;
  void queryAttributes(const QString& path) override;
  FileId fileId(const QString& path) override;
  void requireReadable(const QString& path) override;
  void rename(const QString& from, const QString& to) override;

  // Whole files, and the dry run (PosixFiles.cpp).
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
  bool unnamed() const { return temporaryFiles_ == TemporaryFiles::kUnnamedWherePossible; }
  TemporaryFiles temporaryFiles_;
};

}  // namespace orv::platform
