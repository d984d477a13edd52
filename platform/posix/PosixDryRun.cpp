// PosixFileSystem's dry run (see PosixFileSystem::dryRun).

#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/Preconditions.h"
#include "platform/posix/SameContent.h"

#include <QFile>
#include <QSet>

#include <map>

namespace orv::platform {
namespace {

class PosixDryRun : public DryRunFileSystem {
 public:
  explicit PosixDryRun(PosixFileSystem& disk) : disk_(disk) {}

  QString onDisk(const QString& path) const override {
    const auto it = renamedOnPaper_.find(path);
    return it == renamedOnPaper_.end() ? path : it->second;
  }

  // Reads go to the disk, under the names the files have there.
  std::unique_ptr<FolderListing> list(const QString& pattern) override {
    return disk_.list(pattern);
  }
  std::vector<ListedFile> listWithFacts(const QString& pattern) override {
    return disk_.listWithFacts(pattern);
  }
  std::vector<QString> listFolders(const QString& folder) override {
    return disk_.listFolders(folder);
  }
  FolderLook lookIntoFolder(const QString& folder, const QString& pattern) override {
    return disk_.lookIntoFolder(folder, pattern);
  }
  void queryAttributes(const QString& path) override { disk_.queryAttributes(onDisk(path)); }
  FileId fileId(const QString& path) override { return disk_.fileId(onDisk(path)); }
  std::optional<FileFacts> fileFacts(const QString& path) override {
    return disk_.fileFacts(onDisk(path));
  }
  void requireReadable(const QString& path) override { disk_.requireReadable(onDisk(path)); }
  QByteArray readFile(const QString& path) override { return disk_.readFile(onDisk(path)); }
  bool fileExists(const QString& path) override {
    if (renamedAway_.contains(path) && !renamedOnPaper_.contains(path)) return false;
    return disk_.fileExists(onDisk(path));
  }

  // Changes meet their preconditions, on the disk as it is; renames are noted down.
  void rename(const QString& from, const QString& to) override;
  void replaceFileAtomically(const QString& path, const QByteArray&) override {
    replaceableFile(path);
  }
  bool replaceFileIfDifferent(const QString& path, const QByteArray& content) override {
    if (holdsExactly(onDisk(path), content)) return false;
    replaceableFile(path);
    return true;
  }
  void createFileAtomically(const QString& path, const QByteArray&) override {
    creatableFile(path);
  }
  bool copyFileNoReplaceIf(const QString& from, const QString& to, qsizetype size,
                           const std::function<bool(QByteArrayView)>& accept) override {
    return accept(copyStart(onDisk(from), to, size).start);
  }
  QStringList removeLeftoverTemporaryFiles(const QString&, const QStringList&) override {
    return {};
  }
  void createFolder(const QString& path) override { createableFolder(path); }
  void removeFile(const QString& path) override { removableFile(onDisk(path)); }
  std::unique_ptr<DryRunFileSystem> dryRun() override {
    return std::make_unique<PosixDryRun>(*this);
  }

 private:
  PosixFileSystem& disk_;
  // New path -> the path on disk, and the old paths renamed away.
  std::map<QString, QString> renamedOnPaper_;
  QSet<QString> renamedAway_;
};

void PosixDryRun::rename(const QString& from, const QString& to) {
  // As the real rename: a missing file fails, its own name passes.
  const QString source = onDisk(from);
  disk_.queryAttributes(source);
  if (from == to) return;
  const auto onPaper = renamedOnPaper_.find(to);
  const bool freedOnPaper = onPaper == renamedOnPaper_.end() && renamedAway_.contains(to);
  if (!freedOnPaper) {
    // The disk's own rule judges what the real build would find under `to`: the file a
    // rename before put there, or what lies there now.
    const QString target = onPaper == renamedOnPaper_.end() ? to : onPaper->second;
    if (const int err = renameRefusal(QFile::encodeName(source), QFile::encodeName(target))) {
      throw renameError(err, from, to);
    }
  }
  renamedOnPaper_[to] = source;
  renamedOnPaper_.erase(from);
  renamedAway_.insert(from);
}

}  // namespace

std::unique_ptr<DryRunFileSystem> PosixFileSystem::dryRun() {
  return std::make_unique<PosixDryRun>(*this);
}

}  // namespace orv::platform
