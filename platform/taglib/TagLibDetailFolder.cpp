#include "platform/taglib/TagLibDetailFolder.h"

#include "core/RuntimeError.h"
#include "platform/taglib/AudioLength.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

namespace orv::platform {

TagLibDetailItem::TagLibDetailItem(FileDescriptor fd, QByteArray name)
    : fd_(std::move(fd)), name_(std::move(name)) {}

const TagLayout& TagLibDetailItem::layout() const {
  if (!layout_) layout_ = findTagLayout(fd_.get());
  return *layout_;
}

const TrackTexts& TagLibDetailItem::texts() const {
  if (!texts_) texts_ = readTrackTexts(fd_.get(), name_, layout());
  return *texts_;
}

const QString& TagLibDetailItem::playTime() const {
  if (!playTime_) {
    const auto length = readAudioLength(fd_.get(), layout());
    playTime_ = length ? formatPlayTime(*length) : QString();
  }
  return *playTime_;
}

TagLibDetailFolder::TagLibDetailFolder(FileDescriptor folder, QString path)
    : folder_(std::move(folder)), path_(std::move(path)) {}

std::unique_ptr<DetailItem> TagLibDetailFolder::ParseName(const QString& name) {
  const QByteArray encoded = QFile::encodeName(name);
  if (encoded.isEmpty()) return nullptr;
  const auto failure = [&](int err) {
    return errnoError(err, QStringLiteral("ファイル「%1%2」を開けません。").arg(path_, name));
  };
  // Only regular files are opened: opening a FIFO would wait for a writer, and opening a
  // device may act on it. O_NONBLOCK covers a swap between the look and the open.
  struct stat st {};
  if (::fstatat(folder_.get(), encoded.constData(), &st, 0) != 0) {
    const int err = errno;
    if (err == ENOENT || err == ENOTDIR) return nullptr;
    throw failure(err);
  }
  if (!S_ISREG(st.st_mode)) return nullptr;
  FileDescriptor fd(
      ::openat(folder_.get(), encoded.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  if (!fd.valid()) {
    const int err = errno;
    if (err == ENOENT) return nullptr;  // gone since the look
    throw failure(err);
  }
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return nullptr;
  return std::make_unique<TagLibDetailItem>(std::move(fd), encoded);
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
