#include "platform/posix/PosixFileSystem.h"

#include "platform/RuntimeError.h"

namespace orv::platform {

std::unique_ptr<FolderListing> PosixFileSystem::list(const QString&) { throw RuntimeError(1, QStringLiteral("未実装")); }
void PosixFileSystem::queryAttributes(const QString&) { throw RuntimeError(1, QStringLiteral("未実装")); }
void PosixFileSystem::rename(const QString&, const QString&) { throw RuntimeError(1, QStringLiteral("未実装")); }

}  // namespace orv::platform
