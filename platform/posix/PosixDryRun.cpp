#include "platform/posix/PosixDryRun.h"

#include "platform/posix/Preconditions.h"

#include <QFile>

namespace orv::platform {

QString PosixDryRun::onDisk(const QString& path) const {
  const auto it = renamedOnPaper_.find(path);
  return it == renamedOnPaper_.end() ? path : it->second;
}

std::unique_ptr<FolderListing> PosixDryRun::list(const QString& pattern) {
  return disk_.list(pattern);
}

std::vector<QString> PosixDryRun::listFolders(const QString& folder) {
  return disk_.listFolders(folder);
}

void PosixDryRun::queryAttributes(const QString& path) { disk_.queryAttributes(onDisk(path)); }

FileId PosixDryRun::fileId(const QString& path) { return disk_.fileId(onDisk(path)); }

void PosixDryRun::requireReadable(const QString& path) { disk_.requireReadable(onDisk(path)); }

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

QByteArray PosixDryRun::readFile(const QString& path) { return disk_.readFile(onDisk(path)); }

void PosixDryRun::replaceFileAtomically(const QString& path, const QByteArray&) {
  replaceableFile(path);
}

void PosixDryRun::createFileAtomically(const QString& path, const QByteArray&) {
  creatableFile(path);
}

bool PosixDryRun::fileExists(const QString& path) {
  if (renamedAway_.contains(path) && renamedOnPaper_.count(path) == 0) return false;
  return disk_.fileExists(onDisk(path));
}

bool PosixDryRun::copyFileNoReplaceIf(const QString& from, const QString& to, qsizetype size,
                                      const std::function<bool(QByteArrayView)>& accept) {
  return accept(copyStart(onDisk(from), to, size).start);
}

QStringList PosixDryRun::removeLeftoverTemporaryFiles(const QString&, const QStringList&) {
  return {};
}

std::unique_ptr<DryRunFileSystem> PosixDryRun::dryRun() {
  return std::make_unique<PosixDryRun>(*this);
}

}  // namespace orv::platform
