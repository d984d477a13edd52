#include "platform/taglib/TagLibDetailSource.h"

#include "core/RuntimeError.h"
#include "platform/posix/FileDescriptor.h"
#include "platform/taglib/StringHandlers.h"
#include "platform/taglib/TagLibDetailFolder.h"

#include <QFile>

#include <fcntl.h>

#include <cerrno>

namespace orv::platform {
namespace {

class TagLibDetailSource final : public DetailSource {
 public:
  std::unique_ptr<DetailFolder> NameSpace(const QString& folder) override {
    const QByteArray encoded = QFile::encodeName(folder);
    FileDescriptor fd(
        encoded.isEmpty() ? -1 : ::open(encoded.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!fd.valid()) {
      const int err = encoded.isEmpty() ? ENOENT : errno;
      if (err == ENOENT || err == ENOTDIR) {
        throw RuntimeError(ErrorCode::kPathNotFound,
                           QStringLiteral("フォルダ「%1」が見つかりません。").arg(folder));
      }
      throw errnoError(err, QStringLiteral("フォルダ「%1」を開けません。").arg(folder));
    }
    return std::make_unique<TagLibDetailFolder>(std::move(fd), folder);
  }
};

}  // namespace

std::unique_ptr<DetailSource> TagLibDetailSourceFactory::create() {
  installEightBitStringHandlers();
  return std::make_unique<TagLibDetailSource>();
}

}  // namespace orv::platform
