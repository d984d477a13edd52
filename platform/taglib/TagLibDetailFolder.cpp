#include "platform/taglib/TagLibDetailFolder.h"

#include "platform/posix/RegularFile.h"
#include "platform/taglib/AudioLength.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>

namespace orv::platform {

TagLibDetailItem::TagLibDetailItem(FileDescriptor fd, QByteArray name, qint64 size)
    : fd_(std::move(fd)), file_(fd_.get(), size), name_(std::move(name)) {}

const TagLayout& TagLibDetailItem::layout() const {
  if (!layout_) layout_ = findTagLayout(file_);
  return *layout_;
}

qint64 TagLibDetailItem::audioBegin() const { return layout().audioBegin; }

const TrackTexts& TagLibDetailItem::texts() const {
  if (!texts_) texts_ = readTrackTexts(file_, name_, layout());
  return *texts_;
}

const QString& TagLibDetailItem::playTime() const {
  if (!playTime_) {
    const auto length = readAudioLength(file_, layout());
    playTime_ = length ? formatPlayTime(*length) : QString();
  }
  return *playTime_;
}

TagLibDetailItem::TagLibDetailItem(TrackDetails details)
    : file_(-1), texts_(std::move(details.texts)), playTime_(std::move(details.playTime)) {}

TagLibDetailFolder::TagLibDetailFolder(QString path, std::shared_ptr<ReadAheadResults> readAhead)
    : path_(path.endsWith(u'/') ? std::move(path) : path + u'/'),
      native_(QFile::encodeName(path_)),
      readAhead_(std::move(readAhead)) {}

std::unique_ptr<DetailItem> TagLibDetailFolder::ParseName(const QString& name) {
  const QByteArray encoded = QFile::encodeName(name);
  if (encoded.isEmpty()) return nullptr;
  const QByteArray file = native_ + encoded;
  if (readAhead_) {
    // Read ahead under whatever name: the same file, unchanged, needs no opening.
    struct stat st {};
    if (::stat(file.constData(), &st) == 0 && S_ISREG(st.st_mode)) {
      if (auto details = readAhead_->take(st)) {
        return std::make_unique<TagLibDetailItem>(std::move(*details));
      }
    }
  }
  struct stat opened {};
  FileDescriptor fd = openRegularFile(AT_FDCWD, file, path_ + name, &opened);
  if (!fd.valid()) return nullptr;
  return std::make_unique<TagLibDetailItem>(std::move(fd), encoded, opened.st_size);
}

QString TagLibDetailFolder::GetDetailsOf(const DetailItem* item, int column) {
  const auto* file = dynamic_cast<const TagLibDetailItem*>(item);
  if (file == nullptr) return {};
  switch (column) {
    case kColumnArtist:
      return file->texts().artist;
    case kColumnTitle:
      return file->texts().title;
    case kColumnAlbumTitle:
      return file->texts().album;
    case kColumnPlayTime:
      return file->playTime();
    default:
      return {};
  }
}

}  // namespace orv::platform
