#include "batch/AlbumFiles.h"

#include "core/RuntimeError.h"

#include <algorithm>

namespace orv::batch {

QString AlbumFiles::onDisk(const QString& path) const {
  const auto it = renamedOnPaper_.find(path);
  return it == renamedOnPaper_.end() ? path : it->second;
}

std::unique_ptr<platform::FolderListing> AlbumFiles::list(const QString& pattern) {
  return disk_.list(pattern);
}

std::vector<QString> AlbumFiles::listFolders(const QString& folder) {
  return disk_.listFolders(folder);
}

void AlbumFiles::queryAttributes(const QString& path) { disk_.queryAttributes(onDisk(path)); }

platform::FileId AlbumFiles::fileId(const QString& path) { return disk_.fileId(onDisk(path)); }

void AlbumFiles::checkReadable(const QString& path) { disk_.checkReadable(onDisk(path)); }

void AlbumFiles::rename(const QString& from, const QString& to) {
  if (!dryRun_) {
    disk_.rename(from, to);
  } else {
    // As the real rename: a missing file fails, a taken name fails, the own name passes.
    const QString source = onDisk(from);
    disk_.queryAttributes(source);
    if (from == to) return;
    checkRenameTarget(from, to);
    renamedOnPaper_[to] = source;
    renamedOnPaper_.erase(from);
    renamedAway_.insert(from);
  }
  if (from != to) renames_.push_back({from, to});
}

void AlbumFiles::checkRenameTarget(const QString& from, const QString& to) {
  if (from == to) return;
  const auto onPaper = renamedOnPaper_.find(to);
  if (onPaper == renamedOnPaper_.end() && renamedAway_.contains(to)) return;
  // The disk's own rule judges what the real build would find under `to`: the file a
  // rename before put there, or what lies there now.
  const QString target = onPaper == renamedOnPaper_.end() ? to : onPaper->second;
  try {
    disk_.checkRenameTarget(onDisk(from), target);
  } catch (const RuntimeError& error) {
    if (error.is(ErrorCode::kFileAlreadyExists)) throw platform::renameTakenError(from, to);
    throw;
  }
}

QByteArray AlbumFiles::readFile(const QString& path) { return disk_.readFile(onDisk(path)); }

void AlbumFiles::replaceFileAtomically(const QString& path, const QByteArray& content) {
  if (dryRun_) {
    disk_.checkReplaceable(path);
  } else {
    disk_.replaceFileAtomically(path, content);
  }
  page_ = path;
}

void AlbumFiles::checkReplaceable(const QString& path) { disk_.checkReplaceable(path); }

void AlbumFiles::createFileAtomically(const QString& path, const QByteArray& content) {
  if (dryRun_) {
    disk_.checkCreate(path);
  } else {
    disk_.createFileAtomically(path, content);
  }
}

void AlbumFiles::checkCreate(const QString& path) { disk_.checkCreate(path); }

bool AlbumFiles::fileExists(const QString& path) {
  if (dryRun_ && renamedAway_.contains(path) && renamedOnPaper_.count(path) == 0) return false;
  return disk_.fileExists(onDisk(path));
}

void AlbumFiles::copyFileNoReplace(const QString& from, const QString& to) {
  if (dryRun_) {
    disk_.checkCopy(from, to);
  } else {
    disk_.copyFileNoReplace(from, to);
  }
}

bool AlbumFiles::copyFileNoReplaceIf(const QString& from, const QString& to, qsizetype size,
                                     const std::function<bool(QByteArrayView)>& accept) {
  if (!dryRun_) return disk_.copyFileNoReplaceIf(from, to, size, accept);
  disk_.checkCopy(from, to);
  const QByteArray bytes = disk_.readFile(onDisk(from));
  return accept(QByteArrayView(bytes).first(std::min(size, bytes.size())));
}

void AlbumFiles::checkCopy(const QString& from, const QString& to) { disk_.checkCopy(from, to); }

QStringList AlbumFiles::removeLeftoverTemporaryFiles(const QString& folder,
                                                     const QStringList& names) {
  if (dryRun_) return {};
  return disk_.removeLeftoverTemporaryFiles(folder, names);
}

}  // namespace orv::batch
