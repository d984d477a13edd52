#include "batch/AlbumFiles.h"

namespace orv::batch {

void AlbumFiles::rename(const QString& from, const QString& to) {
  files_.rename(from, to);
  if (from != to) renames_.push_back({from, to});
}

void AlbumFiles::replaceFileAtomically(const QString& path, const QByteArray& content) {
  files_.replaceFileAtomically(path, content);
  page_ = path;
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
