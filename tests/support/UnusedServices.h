#pragma once

// Services a test's form needs to exist but must never use: every call fails the test.

#include "platform/FileSystem.h"
#include "platform/FolderLocks.h"
#include "platform/TrackDetails.h"

#include <stdexcept>

namespace orv::test {

class UnusedFileSystem : public platform::FileSystem {
 public:
  std::unique_ptr<platform::FolderListing> list(const QString&) override { fail(); }
  std::vector<platform::ListedFile> listWithFacts(const QString&) override { fail(); }
  std::vector<QString> listFolders(const QString&) override { fail(); }
  FolderLook lookIntoFolder(const QString&, const QString&) override { fail(); }
  void queryAttributes(const QString&) override { fail(); }
  platform::FileId fileId(const QString&) override { fail(); }
  std::optional<platform::FileFacts> fileFacts(const QString&) override { fail(); }
  void requireReadable(const QString&) override { fail(); }
  void rename(const QString&, const QString&) override { fail(); }
  QByteArray readFile(const QString&) override { fail(); }
  void replaceFileAtomically(const QString&, const QByteArray&) override { fail(); }
  bool replaceFileIfDifferent(const QString&, const QByteArray&) override { fail(); }
  void createFileAtomically(const QString&, const QByteArray&) override { fail(); }
  bool fileExists(const QString&) override { fail(); }
  bool copyFileNoReplaceIf(const QString&, const QString&, qsizetype,
                           const std::function<bool(QByteArrayView)>&) override {
    fail();
  }
  QStringList removeLeftoverTemporaryFiles(const QString&, const QStringList&) override { fail(); }
  void createFolder(const QString&) override { fail(); }
  void removeFile(const QString&) override { fail(); }
  std::unique_ptr<platform::DryRunFileSystem> dryRun() override { fail(); }

 private:
  [[noreturn]] static void fail() { throw std::logic_error("the file system was not to be used"); }
};

class UnusedFolderLocks : public platform::FolderLocks {
 public:
  std::unique_ptr<platform::FolderLock> lock(const QString&,
                                             const std::function<bool()>&) override {
    throw std::logic_error("the folder locks were not to be used");
  }
};

class UnusedTrackDetails : public platform::TrackDetailsReader {
 public:
  platform::TrackDetails read(const QString&) override {
    throw std::logic_error("the track reader was not to be used");
  }
};

}  // namespace orv::test
