#include "core/RuntimeError.h"
#include "platform/posix/AtomicWrite.h"
#include "platform/posix/FileDescriptor.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/Preconditions.h"
#include "platform/posix/SameContent.h"
#include "platform/posix/WritableFolder.h"

#include <QFile>

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

bool PosixFileSystem::replaceFileIfDifferent(const QString& path, const QByteArray& content) {
  if (holdsExactly(path, content)) return false;
  replaceFileAtomically(path, content);
  return true;
}

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

bool PosixFileSystem::fileExists(const QString& path) {
  struct stat st;
  return ::stat(nativePath(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

bool PosixFileSystem::copyFileNoReplaceIf(const QString& from, const QString& to, qsizetype size,
                                          const std::function<bool(QByteArrayView)>& accept) {
  const CopyStart copy = copyStart(from, to, size);
  if (!accept(copy.start)) return false;

  // A name taken after copyStart looked is still never replaced, nor is a symbolic link
  // followed to a new file. A copy written again (see writeAndPlace) reads alike.
  const QString what = cannotCopy(from, to);
  const auto fill = [&](int fd) {
    if (const int err = writeAll(fd, copy.start.constData(), copy.start.size())) return err;
    return readPieces(
        copy.source.get(),
        [&](const char* bytes, qint64 count) { return writeAll(fd, bytes, count); },
        copy.start.size());
  };
  const auto failed = [&](int err) { return errnoError(err, what); };
  if (const int err = writeAndPlace(to, 0644, /*exactMode=*/false, Placement::kNew, unnamed(),
                                    failed, what, fill)) {
    throw errnoError(err, what);
  }
  return true;
}

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
