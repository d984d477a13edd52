#include "core/RuntimeError.h"
#include "platform/posix/FileDescriptor.h"
#include "platform/posix/NoReplaceRename.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/WritableFolder.h"

#include <QFile>
#include <QRandomGenerator>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <utility>

namespace orv::platform {
namespace {

QByteArray nativePath(const QString& path) { return QFile::encodeName(path); }

QString cannotWrite(const QString& path) {
  return QStringLiteral("ファイル %1 を書き込めません").arg(path);
}

QString cannotCopy(const QString& from, const QString& to) {
  return QStringLiteral("ファイル %1 を %2 にコピーできません").arg(from, to);
}

// Writes all of `data`: 0 or errno.
int writeAll(int fd, const char* data, qsizetype size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, static_cast<size_t>(size));
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
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

// Hands `fd`'s content to `take(bytes, count)` piece by piece, from the start to the end:
// 0, or the errno of a failed read.
template <typename Take>
int readPieces(int fd, Take&& take) {
  char buffer[64 * 1024];
  for (qint64 pos = 0;;) {
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

// A fresh, unguessable name beside `path`, created exclusively, never an existing file.
// Hidden, so that a folder view doesn't flash it.
struct TempFile {
  QString path;
  FileDescriptor fd;
};

// The error of a file `name` that can't be made in `folder`.
RuntimeError cannotWriteIn(const QString& folder, const QString& name, int err) {
  if (err == ENOENT) {
    return RuntimeError(
        ErrorCode::kPathNotFound,
        QStringLiteral("フォルダー %1 が見つからないため %2 を書き込めません。").arg(folder, name));
  }
  return errnoError(err, QStringLiteral("フォルダー %1 に %2 を書き込めません").arg(folder, name));
}

// What every new file and every replacement needs, asked before anything is made: a
// folder that takes new entries.
void requireWritableFolder(const QString& path) {
  const QString folder = folderOf(path);
  if (const int err = folderRefusal(nativePath(folder))) {
    throw cannotWriteIn(folder, path.sliced(folder.size()), err);
  }
}

TempFile createTempBeside(const QString& path, mode_t mode) {
  const QString folder = folderOf(path);
  const QString name = path.sliced(folder.size());
  for (int attempt = 0; attempt < 100; ++attempt) {
    const QString temp = folder + u'.' + name + QStringLiteral(".orv-") +
                         QString::number(QRandomGenerator::system()->generate64(), 36);
    FileDescriptor fd =
        openRetrying(nativePath(temp).constData(), O_WRONLY | O_CREAT | O_EXCL, mode);
    if (fd.valid()) return {temp, std::move(fd)};
    if (errno == EEXIST) continue;
    throw cannotWriteIn(folder, name, errno);
  }
  throw RuntimeError(ErrorCode::kPathFileAccessError,
                     QStringLiteral("%1 の一時ファイルを作れません。").arg(path));
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

// `content` in a fresh temporary file beside `path`, written, flushed, synced and closed,
// with exactly `mode` when `exactMode` (else `mode` less the umask). On a failure the
// temporary file is gone. Its path, for the caller to put in place.
QByteArray writeTempBeside(const QString& path, const QByteArray& content, mode_t mode,
                           bool exactMode) {
  TempFile temp = createTempBeside(path, mode);
  QByteArray tempPath = nativePath(temp.path);
  FileDescriptor& file = temp.fd;
  const auto fail = [&](int err) {
    ::unlink(tempPath.constData());
    return errnoError(err, cannotWrite(path));
  };
  if (exactMode && ::fchmod(file.get(), mode) != 0) throw fail(errno);
  if (const int err = writeAll(file.get(), content.constData(), content.size())) throw fail(err);
  if (::fsync(file.get()) != 0) throw fail(errno);
  if (const int err = file.close()) throw fail(err);
  return tempPath;
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

  const QByteArray temp = writeTempBeside(path, content, mode, keepMode);
  if (::rename(temp.constData(), nativePath(path).constData()) != 0) {
    const int err = errno;
    ::unlink(temp.constData());
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
  requireWritableFolder(path);
  const QByteArray temp = writeTempBeside(path, content, 0644, /*exactMode=*/false);
  if (const int err = renameNoReplace(temp.constData(), nativePath(path).constData())) {
    ::unlink(temp.constData());
    if (err == EEXIST) {
      throw RuntimeError(
          ErrorCode::kFileAlreadyExists,
          QStringLiteral("ファイル %1 が既にあるため、新しく作れません。").arg(path));
    }
    throw errnoError(err, cannotWrite(path));
  }
  if (const int err = syncFolder(folderOf(path))) {
    throw errnoError(
        err,
        QStringLiteral("ファイル %1 は作りましたが、フォルダーへの記録を確定できません").arg(path));
  }
}

bool PosixFileSystem::fileExists(const QString& path) {
  struct stat st;
  return ::stat(nativePath(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

void PosixFileSystem::copyFileNoReplace(const QString& from, const QString& to) {
  const QString what = cannotCopy(from, to);
  qsizetype size = 0;
  const FileDescriptor source = copySource(from, to, size);

  // O_EXCL: a file that appears under `to` after all is never touched; nor is a symbolic
  // link followed to one.
  const QByteArray target = nativePath(to);
  FileDescriptor copy = openRetrying(target.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
  if (!copy.valid()) throw errnoError(errno, what);
  const auto fail = [&](int err) {
    ::unlink(target.constData());  // only what this call created
    return errnoError(err, what);
  };

  const int err = readPieces(source.get(), [&](const char* bytes, qint64 count) {
    return writeAll(copy.get(), bytes, count);
  });
  if (err) throw fail(err);
  if (::fsync(copy.get()) != 0) throw fail(errno);
  if (const int closeErr = copy.close()) throw fail(closeErr);
}

void PosixFileSystem::checkCopy(const QString& from, const QString& to) {
  qsizetype size = 0;
  copySource(from, to, size);
}

}  // namespace orv::platform
