#include "platform/posix/WritableFolder.h"

#include <QFile>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace orv::platform {

int folderRefusal(const QByteArray& folder) {
  // Write to add or remove an entry, search to reach it; AT_EACCESS judges by the rights
  // the program runs with. A read-only mount refuses even root.
  const QByteArray path = folder.isEmpty() ? QByteArray(".") : folder;
  return ::faccessat(AT_FDCWD, path.constData(), W_OK | X_OK, AT_EACCESS) == 0 ? 0 : errno;
}

QByteArray nativePath(const QString& path) { return QFile::encodeName(path); }

QString folderOf(const QString& path) {
  const qsizetype slash = path.lastIndexOf(u'/');
  return slash < 0 ? QStringLiteral(".") : path.first(slash + 1);
}

}  // namespace orv::platform
