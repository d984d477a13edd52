#include "platform/posix/AtomicWrite.h"

#include "platform/posix/FileDescriptor.h"
#include "platform/posix/NoReplaceRename.h"
#include "platform/posix/RetryAfterSignal.h"
#include "platform/posix/WritableFolder.h"

#include <QFile>
#include <QRandomGenerator>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

namespace orv::platform {
namespace {

// Temporary files that have a name are hidden, so that a folder view doesn't flash
// them, and carry a mark and 13 random lower-case letters or digits after the name of the
// file they become: ".disk.html.orv-0k3j5x9b2m1qz". isTemporaryFileOf knows them by that
// pattern; earlier versions wrote the random part without leading zeros,
// so 8 to 13 of them count.
const QString kTemporaryMark = QStringLiteral(".orv-");
constexpr int kRandomDigits = 13;
constexpr int kFewestRandomDigits = 8;

QString temporaryPath(const QString& folder, const QString& name) {
  return folder + u'.' + name + kTemporaryMark +
         QStringLiteral("%1").arg(QRandomGenerator::system()->generate64(), kRandomDigits, 36,
                                  QChar(u'0'));
}

// A fresh, unguessable name beside `path`, created exclusively, never an existing file.
struct TempFile {
  QByteArray path;
  FileDescriptor fd;
};

TempFile createTempBeside(const QString& path, mode_t mode, const CreationError& failed) {
  const QString folder = folderOf(path);
  const QString name = path.sliced(folder.size());
  for (int attempt = 0; attempt < 100; ++attempt) {
    QByteArray temp = nativePath(temporaryPath(folder, name));
    FileDescriptor fd = openRetrying(temp.constData(), O_WRONLY | O_CREAT | O_EXCL, mode);
    if (fd.valid()) return {std::move(temp), std::move(fd)};
    if (errno != EEXIST) throw failed(errno);
  }
  throw RuntimeError(ErrorCode::kPathFileAccessError,
                     QStringLiteral("%1 の一時ファイルを作れません。").arg(path));
}

// Whether files without a name (O_TMPFILE) can be given one: through /proc/self/fd, for
// any user. Linux mounts it everywhere a desktop runs; a chroot may lack it.
bool unnamedFilesCanBeNamed() {
  static const bool can = ::access("/proc/self/fd", X_OK) == 0;
  return can;
}

// How open(O_TMPFILE) or linkat say that this file system has no files without a name,
// or can't give one a name: the write goes the named way instead.
bool noUnnamedFiles(int err) {
  return err == EOPNOTSUPP || err == EISDIR || err == EINVAL || err == ENOSYS || err == EPERM;
}

int fillAndSync(int fd, mode_t mode, bool exactMode, const Fill& fill) {
  if (exactMode && ::fchmod(fd, mode) != 0) return errno;
  if (const int err = fill(fd)) return err;
  return ::fsync(fd) == 0 ? 0 : errno;
}

// Gives the complete file without a name `fd` the name `to`; never replaces: EEXIST
// when `to` is taken.
int linkUnnamed(int fd, const QByteArray& to) {
  const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
  return ::linkat(AT_FDCWD, self.constData(), AT_FDCWD, to.constData(), AT_SYMLINK_FOLLOW) == 0
             ? 0
             : errno;
}

// Puts the complete file without a name in place. A link can't replace a file, so a
// replacement is linked under a temporary name first and renamed over `path`: only that
// short step leaves a name behind, should the process die in it.
int placeUnnamed(int fd, const QString& path, Placement placement) {
  const QByteArray target = nativePath(path);
  if (placement == Placement::kNew) return linkUnnamed(fd, target);
  const QString folder = folderOf(path);
  for (int attempt = 0; attempt < 100; ++attempt) {
    const QByteArray temp = nativePath(temporaryPath(folder, path.sliced(folder.size())));
    const int err = linkUnnamed(fd, temp);
    if (err == EEXIST) continue;
    if (err != 0) return err;
    if (::rename(temp.constData(), target.constData()) == 0) return 0;
    const int renameErr = errno;
    ::unlink(temp.constData());
    return renameErr;
  }
  return EEXIST;
}

}  // namespace

int writeAndPlace(const QString& path, mode_t mode, bool exactMode, Placement placement,
                  bool unnamed, const CreationError& failed, const QString& what,
                  const Fill& fill) {
  if (unnamed && unnamedFilesCanBeNamed()) {
    FileDescriptor file =
        openRetrying(nativePath(folderOf(path)).constData(), O_TMPFILE | O_WRONLY, mode);
    if (file.valid()) {
      if (const int err = fillAndSync(file.get(), mode, exactMode, fill)) {
        throw errnoError(err, what);
      }
      const int err = placeUnnamed(file.get(), path, placement);
      if (!noUnnamedFiles(err)) return err;
      // Files without a name, but no way to name them: written again, named.
    } else if (!noUnnamedFiles(errno)) {
      throw failed(errno);
    }
  }

  TempFile temp = createTempBeside(path, mode, failed);
  int err = fillAndSync(temp.fd.get(), mode, exactMode, fill);
  if (err == 0) err = temp.fd.close();
  if (err != 0) {
    ::unlink(temp.path.constData());
    throw errnoError(err, what);
  }
  const QByteArray target = nativePath(path);
  if (placement == Placement::kReplace) {
    err = ::rename(temp.path.constData(), target.constData()) == 0 ? 0 : errno;
  } else {
    err = renameNoReplace(temp.path.constData(), target.constData());
  }
  if (err != 0) ::unlink(temp.path.constData());
  return err;
}

int writeAll(int fd, const char* data, qsizetype size) {
  while (size > 0) {
    const ssize_t written = retryAfterSignal(-1, ::write, fd, data, static_cast<size_t>(size));
    if (written < 0) return errno;
    data += written;
    size -= written;
  }
  return 0;
}

int syncFolder(const QString& folder) {
  const FileDescriptor fd = openRetrying(nativePath(folder).constData(), O_RDONLY | O_DIRECTORY);
  if (!fd.valid()) return errno;
  if (::fsync(fd.get()) != 0 && errno != EINVAL) return errno;
  return 0;
}

bool isTemporaryFileOf(const QString& entry, const QString& name) {
  const QString start = u'.' + name + kTemporaryMark;
  if (!entry.startsWith(start)) return false;
  const QStringView random = QStringView(entry).sliced(start.size());
  return random.size() >= kFewestRandomDigits && random.size() <= kRandomDigits &&
         std::all_of(random.begin(), random.end(),
                     [](QChar c) { return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z'); });
}

}  // namespace orv::platform
