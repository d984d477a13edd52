#include "batch/AlbumFiles.h"

#include "core/RuntimeError.h"

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

void AlbumFiles::checkReadable(const QString& path) { disk_.checkReadable(onDisk(path)); }

void AlbumFiles::rename(const QString& from, const QString& to) {
  if (!dryRun_) {
    disk_.rename(from, to);
  } else {
    // As the real rename: a missing file fails, a taken name fails, the own name passes.
    const QString source = onDisk(from);
    disk_.queryAttributes(source);
    if (from == to) return;
    if (takenOnPaper(to)) throw platform::renameTakenError(from, to);
    renamedOnPaper_[to] = source;
    renamedOnPaper_.erase(from);
    renamedAway_.insert(from);
  }
  if (from != to) renames_.push_back({from, to});
}

bool AlbumFiles::takenOnPaper(const QString& path) {
  if (renamedOnPaper_.count(path) != 0) return true;
  if (renamedAway_.contains(path)) return false;
  try {
    disk_.queryAttributes(path);
    return true;
  } catch (const RuntimeError& error) {
    if (error.is(ErrorCode::kFileNotFound)) return false;
    throw;
  }
}

QByteArray AlbumFiles::readFile(const QString& path) { return disk_.readFile(onDisk(path)); }

void AlbumFiles::replaceFileAtomically(const QString& path, const QByteArray& content) {
  if (!dryRun_) disk_.replaceFileAtomically(path, content);
  page_ = path;
}

bool AlbumFiles::fileExists(const QString& path) {
  if (dryRun_ && renamedAway_.contains(path) && renamedOnPaper_.count(path) == 0) return false;
  return disk_.fileExists(onDisk(path));
}

void AlbumFiles::copyFileNoReplace(const QString& from, const QString& to) {
  if (!dryRun_) disk_.copyFileNoReplace(from, to);
  coverCopied_ = true;
}

namespace {

class DryRunFolder : public platform::DetailFolder {
 public:
  DryRunFolder(std::unique_ptr<platform::DetailFolder> disk, QString path, const AlbumFiles& files)
      : disk_(std::move(disk)), path_(std::move(path)), files_(files) {}

  std::unique_ptr<platform::DetailItem> ParseName(const QString& name) override {
    const QString onDisk = files_.onDisk(path_ + name);
    return disk_->ParseName(onDisk.startsWith(path_) ? onDisk.sliced(path_.size()) : name);
  }
  QString GetDetailsOf(const platform::DetailItem* item, int column) override {
    return disk_->GetDetailsOf(item, column);
  }

 private:
  std::unique_ptr<platform::DetailFolder> disk_;
  QString path_;
  const AlbumFiles& files_;
};

class DryRunSource : public platform::DetailSource {
 public:
  DryRunSource(std::unique_ptr<platform::DetailSource> disk, const AlbumFiles& files)
      : disk_(std::move(disk)), files_(files) {}

  std::unique_ptr<platform::DetailFolder> NameSpace(const QString& folder) override {
    return std::make_unique<DryRunFolder>(disk_->NameSpace(folder), folder, files_);
  }

 private:
  std::unique_ptr<platform::DetailSource> disk_;
  const AlbumFiles& files_;
};

}  // namespace

std::unique_ptr<platform::DetailSource> DryRunDetailSources::create() {
  return std::make_unique<DryRunSource>(disk_.create(), files_);
}

}  // namespace orv::batch
