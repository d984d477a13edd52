#include "platform/taglib/TagLibTrackDetails.h"

#include "core/RuntimeError.h"
#include "platform/posix/RegularFile.h"
#include "platform/taglib/AudioLength.h"
#include "platform/taglib/StringHandlers.h"
#include "platform/taglib/TagReadAhead.h"
#include "platform/taglib/TrackTexts.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

namespace orv::platform {
namespace {

// Files read ahead at once: enough to keep a disk busy (each waits for its reads most of
// the time when the album is not in memory), few enough not to crowd the processors when
// it is; and how far ahead of tag reading they may go.
constexpr int kReadAheadThreads = 8;
constexpr int kReadAheadWindow = 32;

// Raises kPathNotFound unless `folder` is a folder.
void checkFolder(const QString& folder) {
  const auto notFound = [&] {
    return RuntimeError(ErrorCode::kPathNotFound,
                        QStringLiteral("フォルダ「%1」が見つかりません。").arg(folder));
  };
  const QByteArray encoded = QFile::encodeName(folder);
  if (encoded.isEmpty()) throw notFound();
  struct stat st {};
  if (::stat(encoded.constData(), &st) != 0) {
    const int err = errno;
    if (err == ENOENT || err == ENOTDIR) throw notFound();
    throw errnoError(err, QStringLiteral("フォルダ「%1」を開けません。").arg(folder));
  }
  if (!S_ISDIR(st.st_mode)) throw notFound();
}

}  // namespace

TagLibTrackDetails::TagLibTrackDetails(bool readAhead)
    : results_(readAhead ? std::make_shared<ReadAheadResults>() : nullptr) {}

TagLibTrackDetails::TagLibTrackDetails(std::shared_ptr<ReadAheadResults> results)
    : results_(std::move(results)) {}

TagLibTrackDetails::~TagLibTrackDetails() = default;

TrackDetails TagLibTrackDetails::read(const QString& path) {
  installEightBitStringHandlers();
  const qsizetype slash = path.lastIndexOf(u'/');
  checkFolder(path.first(slash + 1));
  const QByteArray name = QFile::encodeName(path.sliced(slash + 1));
  if (name.isEmpty()) return {};
  const QByteArray file = QFile::encodeName(path);
  if (results_) {
    // Read ahead under whatever name: the same file, unchanged, needs no opening.
    struct stat st {};
    if (::stat(file.constData(), &st) == 0 && S_ISREG(st.st_mode)) {
      if (auto details = results_->take(st)) return std::move(*details);
    }
  }
  struct stat opened {};
  const FileDescriptor fd = openRegularFile(AT_FDCWD, file, path, &opened);
  if (!fd.valid()) return {};
  const TrackFile track(fd.get(), opened.st_size);
  return readTrackDetails(track, name, findTagLayout(track));
}

std::unique_ptr<TrackReadAhead> TagLibTrackDetails::readAhead(std::vector<QString> paths) {
  if (!results_ || paths.size() < 2) return std::make_unique<NoReadAhead>();
  installEightBitStringHandlers();
  return std::make_unique<TagReadAhead>(std::move(paths), results_, kReadAheadThreads,
                                        kReadAheadWindow);
}

TrackDetails readTrackDetails(const TrackFile& file, const QByteArray& name,
                              const TagLayout& layout) {
  TrackTexts texts = readTrackTexts(file, name, layout);
  const auto length = readAudioLength(file, layout);
  return {.title = std::move(texts.title),
          .artist = std::move(texts.artist),
          .albumTitle = std::move(texts.album),
          .playTime = length ? formatPlayTime(*length) : QString()};
}

}  // namespace orv::platform
