#pragma once

#include "platform/FileSystem.h"

namespace orv::platform {

// The file system on POSIX calls: readdir for listings (so no name is silently left
// out), renameat2 without replacing, write-sync-rename for pages.
class PosixFileSystem : public FileSystem {
 public:
  // Listings, attributes, renames (PosixFileSystem.cpp).
  std::unique_ptr<FolderListing> list(const QString& pattern) override;
  std::vector<QString> listFolders(const QString& folder) override;
  void queryAttributes(const QString& path) override;
  void checkReadable(const QString& path) override;
  void rename(const QString& from, const QString& to) override;

  // Whole files (PosixFiles.cpp).
  QByteArray readFile(const QString& path) override;
  void replaceFileAtomically(const QString& path, const QByteArray& content) override;
  bool fileExists(const QString& path) override;
  void copyFileNoReplace(const QString& from, const QString& to) override;
};

}  // namespace orv::platform
