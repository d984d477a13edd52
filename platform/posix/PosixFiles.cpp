#include "core/RuntimeError.h"
#include "platform/posix/FileDescriptor.h"
#include "platform/posix/NoReplaceRename.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/RetryAfterSignal.h"
#include "platform/posix/WritableFolder.h"

#include <QFile>
#include <QRandomGenerator>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace orv::platform {
namespace {

QByteArray nativePath(const QString& path) { return QFile::encodeName(path); }

QString cannotWrite(const QString& path) {
  return QStringLiteral("ファイル %1 を書き込めません").arg(path);
}

RuntimeError alreadyThere(const QString& path) {
  return RuntimeError(ErrorCode::kFileAlreadyExists,
                      QStringLiteral("ファイル %1 が既にあるため、新しく作れません。").arg(path));
}

QString cannotCopy(const QString& from, const QString& to) {
  return QStringLiteral("ファイル %1 を %2 にコピーできません").arg(from, to);
}

// Writes all of `data`: 0 or errno.
int writeAll(int fd, const char* data, qsizetype size) {
  while (size > 0) {
    const ssize_t written = retryAfterSignal(-1, ::write, fd, data, static_cast<size_t>(size));
    if (written < 0) return errno;
    data += written;
    size -= written;
  }
  return 0;
}

// `path` opened for reading; a folder under that name is refused (EISDIR). `size`
// receives the size of a regular file, 0 for anything else.
FileDescriptor openForReading(const QString& path, const QString& what, qsizetype& size) {
  FileDescriptor file = openRetrying(nativePath(path).constData(), O_RDONLY);
  if (!file.valid()) throw errnoError(errno, what);
  struct stat st;
  if (::fstat(file.get(), &st) != 0) throw errnoError(errno, what);
  if (S_ISDIR(st.st_mode)) throw errnoError(EISDIR, what);
  size = S_ISREG(st.st_mode) ? static_cast<qsizetype>(st.st_size) : 0;
  return file;
}

// Hands `fd`'s content to `take(bytes, count)` piece by piece, from `from` to the end: 0,
// or the errno of a failed read.
template <typename Take>
int readPieces(int fd, Take&& take, qint64 from = 0) {
  char buffer[64 * 1024];
  for (qint64 pos = from;;) {
    const qint64 got = readAt(fd, pos, buffer, sizeof buffer);
    if (got < 0) return errno;
    if (got == 0) return 0;
    if (const int err = take(buffer, got)) return err;
    pos += got;
  }
}

QString folderOf(const QString& path) {
  const qsizetype slash = path.lastIndexOf(u'/');
  return slash < 0 ? QStringLiteral(".") : path.first(slash + 1);
}

// Makes the folder's new entry durable. A file system that can't sync folders says
// EINVAL; the rename is still done, so that is no failure.
int syncFolder(const QString& folder) {
  const FileDescriptor fd = openRetrying(nativePath(folder).constData(), O_RDONLY | O_DIRECTORY);
  if (!fd.valid()) return errno;
  if (::fsync(fd.get()) != 0 && errno != EINVAL) return errno;
  return 0;
}

// Temporary files that have a name are hidden, so that a folder view doesn't flash
// them, and carry a mark and 13 random lower-case letters or digits after the name of the
// file they become: ".disk.html.orv-0k3j5x9b2m1qz". removeLeftoverTemporaryFiles knows
// them by that pattern; earlier versions wrote the random part without leading zeros,
// so 8 to 13 of them count.
const QString kTemporaryMark = QStringLiteral(".orv-");
constexpr int kRandomDigits = 13;
constexpr int kFewestRandomDigits = 8;

QString temporaryPath(const QString& folder, const QString& name) {
  return folder + u'.' + name + kTemporaryMark +
         QStringLiteral("%1").arg(QRandomGenerator::system()->generate64(), kRandomDigits, 36,
                                  QChar(u'0'));
}

bool isTemporaryFileOf(const QString& entry, const QString& name) {
  const QString start = u'.' + name + kTemporaryMark;
  if (!entry.startsWith(start)) return false;
  const QStringView random = QStringView(entry).sliced(start.size());
  return random.size() >= kFewestRandomDigits && random.size() <= kRandomDigits &&
         std::all_of(random.begin(), random.end(),
                     [](QChar c) { return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z'); });
}

// The error of a file `name` (or its temporary file) that can't be made in `folder`.
RuntimeError creationError(int err, const QString& folder, const QString& name) {
  if (err == ENOENT) {
    return RuntimeError(
        ErrorCode::kPathNotFound,
        QStringLiteral("フォルダー %1 が見つからないため %2 を書き込めません。").arg(folder, name));
  }
  return errnoError(err, QStringLiteral("フォルダー %1 に %2 を書き込めません").arg(folder, name));
}

using CreationError = std::function<RuntimeError(int err)>;

// What every new file and every replacement needs, asked before anything is made: a
// folder that takes new entries.
void requireWritableFolder(const QString& path) {
  const QString folder = folderOf(path);
  if (const int err = folderRefusal(nativePath(folder))) {
    throw creationError(err, folder, path.sliced(folder.size()));
  }
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

// Writes the content of a new file to `fd` (its start): 0 or errno.
using Fill = std::function<int(int fd)>;

int fillAndSync(int fd, mode_t mode, bool exactMode, const Fill& fill) {
  if (exactMode && ::fchmod(fd, mode) != 0) return errno;
  if (const int err = fill(fd)) return err;
  return ::fsync(fd) == 0 ? 0 : errno;
}

enum class Placement { kReplace, kNew };

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

// Writes a new file by `fill` (with `mode`, exactly when `exactMode`, else less the
// umask), syncs it and puts it at `path`: over what is there (kReplace) or only where
// nothing is (kNew). Raises the error of making the temporary file (`failed`) or of
// writing it (`what`); returns 0, or the errno of putting it in place. Whatever fails,
// no temporary file is left.
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

// The content of a page, for writeAndPlace.
Fill contentOf(const QByteArray& content) {
  return [&content](int fd) { return writeAll(fd, content.constData(), content.size()); };
}

CreationError creationErrorFor(const QString& path) {
  const QString folder = folderOf(path);
  return [folder, name = path.sliced(folder.size())](int err) {
    return creationError(err, folder, name);
  };
}

// A file its owner protected is never replaced, though the folder would allow it: one
// this user may not write, one that grants writing to no one (chmod a-w; root included),
// and a symbolic link, which a replacement would turn into a plain file. A folder can't
// be replaced by a file: refused with the error the rename would meet.
void refuseProtectedFile(const QString& path, const struct stat& st) {
  if (S_ISLNK(st.st_mode)) {
    throw RuntimeError(
        ErrorCode::kPathFileAccessError,
        QStringLiteral("ファイル %1 はシンボリックリンクのため書き込めません。").arg(path));
  }
  if (S_ISDIR(st.st_mode)) throw errnoError(EISDIR, cannotWrite(path));
  if (!S_ISREG(st.st_mode)) return;
  if ((st.st_mode & 0222) == 0 ||
      ::faccessat(AT_FDCWD, nativePath(path).constData(), W_OK, AT_EACCESS) != 0) {
    throw RuntimeError(
        ErrorCode::kPathFileAccessError,
        QStringLiteral("ファイル %1 は読み取り専用のため書き込めません。").arg(path));
  }
}

// What is under `path`, once refuseProtectedFile has let it be replaced (nothing for a
// new file), in a folder that takes the replacement. replaceFileAtomically and
// checkReplaceable share it.
std::optional<struct stat> replaceableFile(const QString& path) {
  struct stat st;
  const bool exists = ::lstat(nativePath(path).constData(), &st) == 0;
  if (exists) refuseProtectedFile(path, st);
  requireWritableFolder(path);
  return exists ? std::optional<struct stat>(st) : std::nullopt;
}

// What createFileAtomically(path, …) needs before it writes, shared with checkCreate:
// nothing under `path` (a link not followed), and a folder that takes the new file.
void creatableFile(const QString& path) {
  struct stat st;
  if (::lstat(nativePath(path).constData(), &st) == 0) throw alreadyThere(path);
  requireWritableFolder(path);
}

// What copyFileNoReplace(from, to) needs before it copies, shared with checkCopy: `from`
// open for reading (returned, with its size), nothing under `to` (a link not followed),
// and a folder that takes the new file.
FileDescriptor copySource(const QString& from, const QString& to, qsizetype& size) {
  const QString what = cannotCopy(from, to);
  FileDescriptor source = openForReading(from, what, size);
  struct stat st;
  if (::lstat(nativePath(to).constData(), &st) == 0) throw errnoError(EEXIST, what);
  if (const int err = folderRefusal(nativePath(folderOf(to)))) throw errnoError(err, what);
  return source;
}

}  // namespace

QByteArray PosixFileSystem::readFile(const QString& path) {
  const QString what = QStringLiteral("ファイル %1 を読み込めません").arg(path);
  qsizetype size = 0;
  const FileDescriptor file = openForReading(path, what, size);
  QByteArray content;
  content.reserve(size);
  const int err = readPieces(file.get(), [&](const char* bytes, qint64 count) {
    content.append(bytes, count);
    return 0;
  });
  if (err) throw errnoError(err, what);
  return content;
}

void PosixFileSystem::replaceFileAtomically(const QString& path, const QByteArray& content) {
  // The new file keeps the permissions of the one it replaces; a first one gets 0644
  // less the umask, as any new file would.
  const std::optional<struct stat> replaced = replaceableFile(path);
  const bool keepMode = replaced && S_ISREG(replaced->st_mode);
  const mode_t mode = keepMode ? replaced->st_mode & 0777 : 0644;

  if (const int err =
          writeAndPlace(path, mode, keepMode, Placement::kReplace, unnamed(),
                        creationErrorFor(path), cannotWrite(path), contentOf(content))) {
    throw errnoError(err, cannotWrite(path));
  }
  if (const int err = syncFolder(folderOf(path))) {
    throw errnoError(err, QStringLiteral("ファイル %1 は置き換えましたが、フォルダーへの記録を"
                                         "確定できません")
                              .arg(path));
  }
}

void PosixFileSystem::checkReplaceable(const QString& path) { replaceableFile(path); }

void PosixFileSystem::createFileAtomically(const QString& path, const QByteArray& content) {
  creatableFile(path);
  // A name taken after creatableFile looked is still never replaced.
  const int err = writeAndPlace(path, 0644, /*exactMode=*/false, Placement::kNew, unnamed(),
                                creationErrorFor(path), cannotWrite(path), contentOf(content));
  if (err == EEXIST) throw alreadyThere(path);
  if (err != 0) throw errnoError(err, cannotWrite(path));
  if (const int syncErr = syncFolder(folderOf(path))) {
    throw errnoError(
        syncErr,
        QStringLiteral("ファイル %1 は作りましたが、フォルダーへの記録を確定できません").arg(path));
  }
}

void PosixFileSystem::checkCreate(const QString& path) { creatableFile(path); }

bool PosixFileSystem::fileExists(const QString& path) {
  struct stat st;
  return ::stat(nativePath(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

void PosixFileSystem::copyFileNoReplace(const QString& from, const QString& to) {
  copyFileNoReplaceIf(from, to, 0, [](QByteArrayView) { return true; });
}

bool PosixFileSystem::copyFileNoReplaceIf(const QString& from, const QString& to, qsizetype size,
                                          const std::function<bool(QByteArrayView)>& accept) {
  const QString what = cannotCopy(from, to);
  qsizetype fileSize = 0;
  const FileDescriptor source = copySource(from, to, fileSize);
  QByteArray start(size, Qt::Uninitialized);
  const qint64 got = readAt(source.get(), 0, start.data(), size);
  if (got < 0) throw errnoError(errno, what);
  start.truncate(got);
  if (!accept(start)) return false;

  // A name taken after copySource looked is still never replaced, nor is a symbolic
  // link followed to a new file. A copy written again (see writeAndPlace) reads alike.
  const auto copy = [&](int fd) {
    if (const int err = writeAll(fd, start.constData(), start.size())) return err;
    return readPieces(
        source.get(), [&](const char* bytes, qint64 count) { return writeAll(fd, bytes, count); },
        got);
  };
  const auto failed = [&](int err) { return errnoError(err, what); };
  if (const int err = writeAndPlace(to, 0644, /*exactMode=*/false, Placement::kNew, unnamed(),
                                    failed, what, copy)) {
    throw errnoError(err, what);
  }
  return true;
}

void PosixFileSystem::checkCopy(const QString& from, const QString& to) {
  qsizetype size = 0;
  copySource(from, to, size);
}

}  // namespace orv::platform

namespace orv::platform {

QStringList PosixFileSystem::removeLeftoverTemporaryFiles(const QString& folder,
                                                          const QStringList& names) {
  QStringList removed;
  // Nothing could go; the write after the sweep reports the folder as the dry run does.
  if (folderRefusal(nativePath(folder)) != 0) return removed;
  const std::unique_ptr<DIR, int (*)(DIR*)> opened(::opendir(nativePath(folder).constData()),
                                                   ::closedir);
  if (!opened) {
    if (errno == ENOENT || errno == ENOTDIR) return removed;
    throw errnoError(errno, QStringLiteral("フォルダーを開けません: %1").arg(folder));
  }
  const int dirFd = ::dirfd(opened.get());
  for (;;) {
    errno = 0;
    const dirent* entry = ::readdir(opened.get());
    if (entry == nullptr) {
      if (errno != 0) {
        throw errnoError(errno, QStringLiteral("フォルダーを読めません: %1").arg(folder));
      }
      return removed;
    }
    if (entry->d_name[0] != '.') continue;
    const QString name = QString::fromUtf8(entry->d_name);
    if (std::none_of(names.begin(), names.end(),
                     [&](const QString& of) { return isTemporaryFileOf(name, of); })) {
      continue;
    }
    struct stat st;
    if (::fstatat(dirFd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode)) {
      continue;  // gone meanwhile, or not a file this program wrote
    }
    if (::unlinkat(dirFd, entry->d_name, 0) != 0) {
      if (errno == ENOENT) continue;
      throw errnoError(errno,
                       QStringLiteral("一時ファイル %1 を削除できません").arg(folder + name));
    }
    removed << name;
  }
}

}  // namespace orv::platform
