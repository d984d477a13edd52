#include "platform/taglib/TagLibDetailSource.h"

#include "core/RuntimeError.h"
#include "platform/taglib/StringHandlers.h"
#include "platform/taglib/TagLibDetailFolder.h"
#include "platform/taglib/TagReadAhead.h"

#include <QFile>

#include <sys/stat.h>

#include <cerrno>

namespace orv::platform {
namespace {

// Files read ahead at once: enough to keep a disk busy (each waits for its reads most of
// the time when the album is not in memory), few enough not to crowd the processors when
// it is; and how far ahead of tag reading they may go.
constexpr int kReadAheadThreads = 8;
constexpr int kReadAheadWindow = 32;

class TagLibDetailSource final : public DetailSource {
 public:
  explicit TagLibDetailSource(std::shared_ptr<ReadAheadResults> readAhead)
      : readAhead_(std::move(readAhead)) {}

  std::unique_ptr<DetailFolder> NameSpace(const QString& folder) override {
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
    return std::make_unique<TagLibDetailFolder>(folder, readAhead_);
  }

 private:
  std::shared_ptr<ReadAheadResults> readAhead_;
};

}  // namespace

TagLibDetailSourceFactory::TagLibDetailSourceFactory(bool readAhead)
    : results_(readAhead ? std::make_shared<ReadAheadResults>() : nullptr) {}

TagLibDetailSourceFactory::~TagLibDetailSourceFactory() = default;

std::unique_ptr<DetailSource> TagLibDetailSourceFactory::create() {
  installEightBitStringHandlers();
  return std::make_unique<TagLibDetailSource>(results_);
}

std::unique_ptr<TrackReadAhead> TagLibDetailSourceFactory::readAhead(std::vector<QString> paths) {
  if (!results_ || paths.size() < 2) return std::make_unique<NoReadAhead>();
  installEightBitStringHandlers();
  return std::make_unique<TagReadAhead>(std::move(paths), results_, kReadAheadThreads,
                                        kReadAheadWindow);
}

}  // namespace orv::platform
