#include "platform/posix/PosixFileSystem.h"

#include "platform/RuntimeError.h"

namespace orv::platform {

QByteArray PosixFileSystem::readFile(const QString&) { throw RuntimeError(1, QStringLiteral("未実装")); }
void PosixFileSystem::replaceFileAtomically(const QString&, const QByteArray&) { throw RuntimeError(1, QStringLiteral("未実装")); }
bool PosixFileSystem::fileExists(const QString&) { throw RuntimeError(1, QStringLiteral("未実装")); }
void PosixFileSystem::copyFileNoReplace(const QString&, const QString&) { throw RuntimeError(1, QStringLiteral("未実装")); }

}  // namespace orv::platform
