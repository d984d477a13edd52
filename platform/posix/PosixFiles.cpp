#include "core/RuntimeError.h"
#include "platform/posix/FileDescriptor.h"
#include "platform/posix/PosixFileSystem.h"

#include <QFile>
#include <QRandomGenerator>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace orv::platform {
namespace {

QByteArray nativePath(const QString& path) { return QFile::encodeName(path); }

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
    const int err = errno;
    if (err == ENOENT) {
      throw RuntimeError(ErrorCode::kPathNotFound,
                         QStringLiteral("フォルダー %1 が見つからないため %2 を書き込めません。")
                             .arg(folder, name));
    }
    throw errnoError(err, QStringLiteral("フォルダー %1 に %2 を書き込めません").arg(folder, name));
  }
  throw RuntimeError(ErrorCode::kPathFileAccessError,
                     QStringLiteral("%1 の一時ファイルを作れません。").arg(path));
}

// A file its owner protected is never replaced, though the folder would allow it: one
// this user may not write, one that grants writing to no one (chmod a-w; root included),
// and a symbolic link, which a replacement would turn into a plain file.
void refuseProtectedFile(const QString& path, const struct stat& st) {
  if (S_ISLNK(st.st_mode)) {
    throw RuntimeError(
        ErrorCode::kPathFileAccessError,
        QStringLiteral("ファイル %1 はシンボリックリンクのため書き込めません。").arg(path));
  }
  if (!S_ISREG(st.st_mode)) return;
  if ((st.st_mode & 0222) == 0 ||
      ::faccessat(AT_FDCWD, nativePath(path).constData(), W_OK, AT_EACCESS) != 0) {
    throw RuntimeError(
        ErrorCode::kPathFileAccessError,
        QStringLiteral("ファイル %1 は読み取り専用のため書き込めません。").arg(path));
  }
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
  const QByteArray target = nativePath(path);
  // The new file keeps the permissions of the one it replaces; a first one gets 0644
  // less the umask, as any new file would.
  mode_t mode = 0644;
  bool keepMode = false;
  struct stat st;
  if (::lstat(target.constData(), &st) == 0) {
    refuseProtectedFile(path, st);
    if (S_ISREG(st.st_mode)) {
      mode = st.st_mode & 0777;
      keepMode = true;
    }
  }

  TempFile temp = createTempBeside(path, mode);
  const QByteArray tempPath = nativePath(temp.path);
  FileDescriptor& file = temp.fd;
  const auto fail = [&](int err) {
    ::unlink(tempPath.constData());
    return errnoError(err, QStringLiteral("ファイル %1 を書き込めません").arg(path));
  };

  if (keepMode && ::fchmod(file.get(), mode) != 0) throw fail(errno);
  if (const int err = writeAll(file.get(), content.constData(), content.size())) throw fail(err);
  if (::fsync(file.get()) != 0) throw fail(errno);
  if (const int err = file.close()) throw fail(err);
  if (::rename(tempPath.constData(), target.constData()) != 0) throw fail(errno);

  if (const int err = syncFolder(folderOf(path))) {
    throw errnoError(err, QStringLiteral("ファイル %1 は置き換えましたが、フォルダーへの記録を"
                                         "確定できません")
                              .arg(path));
  }
}

bool PosixFileSystem::fileExists(const QString& path) {
  struct stat st;
  return ::stat(nativePath(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

void PosixFileSystem::copyFileNoReplace(const QString& from, const QString& to) {
  const QString what = QStringLiteral("ファイル %1 を %2 にコピーできません").arg(from, to);
  qsizetype size = 0;
  const FileDescriptor source = openForReading(from, what, size);

  // O_EXCL: a file that exists, or appears, under `to` is never touched; nor is a
  // symbolic link followed to one.
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

}  // namespace orv::platform
