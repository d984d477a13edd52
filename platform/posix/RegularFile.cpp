#include "platform/posix/RegularFile.h"

#include "core/RuntimeError.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

namespace orv::platform {

FileDescriptor openRegularFile(int folderFd, const QByteArray& name, const QString& shownPath,
                               struct stat* opened) {
  const auto failure = [&](int err) {
    return errnoError(err, QStringLiteral("ファイル「%1」を開けません。").arg(shownPath));
  };
  struct stat st {};
  if (::fstatat(folderFd, name.constData(), &st, 0) != 0) {
    const int err = errno;
    if (err == ENOENT || err == ENOTDIR) return {};
    throw failure(err);
  }
  if (!S_ISREG(st.st_mode)) return {};
  // O_NONBLOCK covers a FIFO swapped in between the look and the open.
  FileDescriptor fd(
      ::openat(folderFd, name.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  if (!fd.valid()) {
    const int err = errno;
    if (err == ENOENT) return {};  // gone since the look
    throw failure(err);
  }
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return {};
  if (opened) *opened = st;
  return fd;
}

}  // namespace orv::platform
