#include "platform/posix/Preconditions.h"

#include "platform/FileSystem.h"
#include "platform/posix/NoReplaceRename.h"
#include "platform/posix/WritableFolder.h"

#include <QFile>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace orv::platform {
namespace {

QByteArray folderBytesOf(const QByteArray& path) { return path.left(path.lastIndexOf('/') + 1); }

// What every new file and every replacement needs: a folder that takes new entries.
void requireWritableFolder(const QString& path) {
  const QString folder = folderOf(path);
  if (const int err = folderRefusal(nativePath(folder))) {
    throw creationError(err, folder, path.sliced(folder.size()));
  }
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

}  // namespace

int renameRefusal(const QByteArray& from, const QByteArray& to) {
  if (const int err = renameTargetRefusal(from.constData(), to.constData())) return err;
  if (const int err = folderRefusal(folderBytesOf(to))) return err;
  return folderBytesOf(from) == folderBytesOf(to) ? 0 : folderRefusal(folderBytesOf(from));
}

RuntimeError renameError(int err, const QString& from, const QString& to) {
  if (err == EEXIST) return renameTakenError(from, to);
  if (err == ENOENT) {
    return RuntimeError(ErrorCode::kFileNotFound,
                        QStringLiteral("ファイルが見つかりません: %1").arg(from));
  }
  return errnoError(err, QStringLiteral("「%1」を「%2」に名前を変更できません。").arg(from, to));
}

std::optional<struct stat> replaceableFile(const QString& path) {
  struct stat st;
  const bool exists = ::lstat(nativePath(path).constData(), &st) == 0;
  if (exists) refuseProtectedFile(path, st);
  requireWritableFolder(path);
  return exists ? std::optional<struct stat>(st) : std::nullopt;
}

void creatableFile(const QString& path) {
  struct stat st;
  if (::lstat(nativePath(path).constData(), &st) == 0) throw alreadyThere(path);
  requireWritableFolder(path);
}

bool createableFolder(const QString& path) {
  const QString folder = path.endsWith(u'/') && path.size() > 1 ? path.chopped(1) : path;
  struct stat st;
  if (::stat(nativePath(folder).constData(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return true;
    throw RuntimeError(ErrorCode::kPathFileAccessError,
                       QStringLiteral("%1 はフォルダーではないため、使えません。").arg(path));
  }
  requireWritableFolder(folder);
  return false;
}

bool removableFile(const QString& path) {
  struct stat st;
  if (::lstat(nativePath(path).constData(), &st) != 0) return false;
  if (S_ISDIR(st.st_mode)) throw errnoError(EISDIR, cannotWrite(path));
  requireWritableFolder(path);
  return true;
}

CopyStart copyStart(const QString& from, const QString& to, qsizetype size) {
  const QString what = cannotCopy(from, to);
  qsizetype fileSize = 0;
  FileDescriptor source = openForReading(from, what, fileSize);
  struct stat st;
  if (::lstat(nativePath(to).constData(), &st) == 0) throw errnoError(EEXIST, what);
  if (const int err = folderRefusal(nativePath(folderOf(to)))) throw errnoError(err, what);
  QByteArray start(size, Qt::Uninitialized);
  const qint64 got = readAt(source.get(), 0, start.data(), size);
  if (got < 0) throw errnoError(errno, what);
  start.truncate(got);
  return {std::move(source), std::move(start)};
}

FileDescriptor openForReading(const QString& path, const QString& what, qsizetype& size) {
  FileDescriptor file = openRetrying(nativePath(path).constData(), O_RDONLY);
  if (!file.valid()) throw errnoError(errno, what);
  struct stat st;
  if (::fstat(file.get(), &st) != 0) throw errnoError(errno, what);
  if (S_ISDIR(st.st_mode)) throw errnoError(EISDIR, what);
  size = S_ISREG(st.st_mode) ? static_cast<qsizetype>(st.st_size) : 0;
  return file;
}

QString cannotWrite(const QString& path) {
  return QStringLiteral("ファイル %1 を書き込めません").arg(path);
}

QString cannotCopy(const QString& from, const QString& to) {
  return QStringLiteral("ファイル %1 を %2 にコピーできません").arg(from, to);
}

RuntimeError alreadyThere(const QString& path) {
  return RuntimeError(ErrorCode::kFileAlreadyExists,
                      QStringLiteral("ファイル %1 が既にあるため、新しく作れません。").arg(path));
}

RuntimeError creationError(int err, const QString& folder, const QString& name) {
  if (err == ENOENT) {
    return RuntimeError(
        ErrorCode::kPathNotFound,
        QStringLiteral("フォルダー %1 が見つからないため %2 を書き込めません。").arg(folder, name));
  }
  return errnoError(err, QStringLiteral("フォルダー %1 に %2 を書き込めません").arg(folder, name));
}

}  // namespace orv::platform
