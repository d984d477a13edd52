#include "platform/posix/PosixFileSystem.h"

#include "core/NameOrder.h"
#include "core/RuntimeError.h"
#include "platform/posix/NoReplaceRename.h"
#include "platform/posix/Preconditions.h"
#include "platform/posix/RegularFile.h"

#include <QFile>
#include <QStringDecoder>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <tuple>
#include <utility>
#include <variant>
#include <vector>

namespace orv::platform {
namespace {

// "*" stands for any run of characters; everything else matches itself. Both texts are
// upper-cased already.
bool matchesWildcard(const QString& name, const QString& pattern) {
  qsizetype n = 0, p = 0;
  qsizetype starP = -1, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == u'*') {
      starP = p++;
      starN = n;
    } else if (p < pattern.size() && pattern[p] == name[n]) {
      ++p;
      ++n;
    } else if (starP >= 0) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == u'*') ++p;
  return p == pattern.size();
}

// Names are the file system's bytes. A byte-order mark at the start is part of the name,
// and bytes that are not UTF-8 become U+FFFD, so such a name cannot be found again.
QString decodeName(const char* bytes) {
  const QByteArrayView name(bytes);
  // Plain ASCII, as most names are, needs no decoder.
  if (std::all_of(name.begin(), name.end(), [](char b) { return (b & 0x80) == 0; })) {
    return QString::fromLatin1(name);
  }
  QStringDecoder decoder(QStringDecoder::Utf8,
                         QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
  return decoder(name);
}

// The kind of an entry, following a symbolic link only where `followLinks` says so: a
// link to a file counts as a file, but a walk must not enter a link to a folder.
mode_t entryKind(int dirFd, const dirent& entry, bool followLinks) {
  switch (entry.d_type) {
    case DT_REG:
      return S_IFREG;
    case DT_DIR:
      return S_IFDIR;
    case DT_LNK:
      if (!followLinks) return S_IFLNK;
      break;
    case DT_UNKNOWN:
      break;
    default:
      return 0;
  }
  struct stat st {};
  const int flags = followLinks ? 0 : AT_SYMLINK_NOFOLLOW;
  if (::fstatat(dirFd, entry.d_name, &st, flags) != 0) return 0;  // a dangling link
  return st.st_mode & S_IFMT;
}

class SortedListing : public FolderListing {
 public:
  explicit SortedListing(std::vector<OrderedName> names) : names_(std::move(names)) {}

  QString next() override {
    if (next_ >= names_.size()) return {};
    return std::move(names_[next_++].name);
  }

 private:
  std::vector<OrderedName> names_;
  std::size_t next_ = 0;
};

// The entries of `folder` that are not hidden and that `accept(dirFd, entry, key, extra)`
// takes, each with what `accept` noted of it in `extra`, sorted by their names' upper-cased
// keys. The whole folder is read before the first name is handed out, so the order is the
// order of the names, not of the disk.
template <typename Extra, typename Accept>
std::vector<std::pair<OrderedName, Extra>> sortedEntries(const QString& folder, Accept&& accept) {
  std::vector<std::pair<OrderedName, Extra>> entries;
  const std::unique_ptr<DIR, int (*)(DIR*)> opened(::opendir(QFile::encodeName(folder).constData()),
                                                   ::closedir);
  DIR* const dir = opened.get();
  if (dir == nullptr) {
    const int err = errno;
    // A folder that is not there holds nothing: the listing is empty, as a typed path
    // to a missing folder must end in "no MP3 file" rather than a failure.
    if (err == ENOENT || err == ENOTDIR) return entries;
    throw errnoError(err, QStringLiteral("フォルダーを開けません: %1").arg(folder));
  }
  const int dirFd = ::dirfd(dir);
  for (;;) {
    errno = 0;
    const dirent* entry = ::readdir(dir);
    if (entry == nullptr) {
      if (errno != 0) {
        throw errnoError(errno, QStringLiteral("フォルダーを読めません: %1").arg(folder));
      }
      break;
    }
    if (entry->d_name[0] == '.') continue;  // hidden, and "." and ".."
    OrderedName name(decodeName(entry->d_name));
    Extra extra{};
    if (!accept(dirFd, *entry, name.key, extra)) continue;
    entries.emplace_back(std::move(name), std::move(extra));
  }
  std::sort(entries.begin(), entries.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  return entries;
}

// The same, for a listing of names alone.
template <typename Accept>
std::vector<OrderedName> sortedNames(const QString& folder, Accept&& accept) {
  std::vector<OrderedName> names;
  for (auto& [name, none] : sortedEntries<std::monostate>(
           folder, [&](int dirFd, const dirent&entry, const QString&key, std::monostate&) {
             return accept(dirFd, entry, key);
           })) {
    names.push_back(std::move(name));
  }
  return names;
}

FileFacts factsOf(const struct stat& st) {
  const auto nanoseconds = [](const timespec& t) {
    return static_cast<qint64>(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
  };
  return {.size = static_cast<qint64>(st.st_size),
          .modified = nanoseconds(st.st_mtim),
          .changed = nanoseconds(st.st_ctim),
          .id = {static_cast<quint64>(st.st_dev), static_cast<quint64>(st.st_ino)}};
}

// The folder of a pattern ("/music/album/*.mp3"), and its last component upper-cased.
std::pair<QString, QString> folderAndNames(const QString& pattern) {
  const qsizetype slash = pattern.lastIndexOf(u'/');
  return {slash < 0 ? QStringLiteral(".") : pattern.left(slash + 1),
          upperCased(pattern.mid(slash + 1))};
}

}  // namespace

std::vector<ListedFile> PosixFileSystem::listWithFacts(const QString& pattern) {
  QString folder, namePattern;  // not a structured binding: clang 14's lambdas can't take one
  std::tie(folder, namePattern) = folderAndNames(pattern);
  // Each file looked at by its name in the open folder, as it is listed: no path is
  // walked again.
  std::vector<ListedFile> files;
  for (auto& [name, facts] : sortedEntries<FileFacts>(
           folder, [&](int dirFd, const dirent&entry, const QString&key, FileFacts&facts) {
             struct stat st {};
             if (!matchesWildcard(key, namePattern) ||
                 ::fstatat(dirFd, entry.d_name, &st, 0) != 0 || !S_ISREG(st.st_mode)) {
               return false;
             }
             facts = factsOf(st);
             return true;
           })) {
    files.push_back({std::move(name.name), facts});
  }
  return files;
}

std::unique_ptr<FolderListing> PosixFileSystem::list(const QString& pattern) {
  QString folder, namePattern;  // not a structured binding: clang 14's lambdas can't take one
  std::tie(folder, namePattern) = folderAndNames(pattern);
  // Only regular files belong to an album; a link counts when it leads to one.
  return std::make_unique<SortedListing>(
      sortedNames(folder, [&](int dirFd, const dirent& entry, const QString& key) {
        return matchesWildcard(key, namePattern) &&
               entryKind(dirFd, entry, /*followLinks=*/true) == S_IFREG;
      }));
}

std::vector<QString> PosixFileSystem::listFolders(const QString& folder) {
  const auto isFolder = [](int dirFd, const dirent& entry, const QString&) {
    return entryKind(dirFd, entry, /*followLinks=*/false) == S_IFDIR;
  };
  std::vector<QString> folders;
  for (OrderedName& listed : sortedNames(folder, isFolder))
    folders.push_back(std::move(listed.name));
  return folders;
}

FileSystem::FolderLook PosixFileSystem::lookIntoFolder(const QString& folder,
                                                       const QString& pattern) {
  const QString namePattern = upperCased(pattern);
  FolderLook look;
  // The files that match are only noted; the folders are listed, as listFolders lists them.
  const auto isFolder = [&](int dirFd, const dirent& entry, const QString& key) {
    if (!look.holdsMatch && matchesWildcard(key, namePattern) &&
        entryKind(dirFd, entry, /*followLinks=*/true) == S_IFREG) {
      look.holdsMatch = true;
      return false;
    }
    return entryKind(dirFd, entry, /*followLinks=*/false) == S_IFDIR;
  };
  for (OrderedName& listed : sortedNames(folder, isFolder))
    look.folders.push_back(std::move(listed.name));
  return look;
}

namespace {

// What is under `path`, links followed; kFileNotFound when nothing is.
struct stat statOf(const QString& path) {
  struct stat st {};
  if (::stat(QFile::encodeName(path).constData(), &st) == 0) return st;
  const int err = errno;
  if (err == ENOENT) {
    throw RuntimeError(ErrorCode::kFileNotFound,
                       QStringLiteral("ファイルが見つかりません: %1").arg(path));
  }
  throw errnoError(err, QStringLiteral("ファイルの属性を読めません: %1").arg(path));
}

}  // namespace

void PosixFileSystem::queryAttributes(const QString& path) { statOf(path); }

FileId PosixFileSystem::fileId(const QString& path) {
  const struct stat st = statOf(path);
  return {static_cast<quint64>(st.st_dev), static_cast<quint64>(st.st_ino)};
}

std::optional<FileFacts> PosixFileSystem::fileFacts(const QString& path) {
  struct stat st {};
  if (::stat(QFile::encodeName(path).constData(), &st) != 0) {
    const int err = errno;
    if (err == ENOENT || err == ENOTDIR) return std::nullopt;
    throw errnoError(err, QStringLiteral("ファイルの属性を読めません: %1").arg(path));
  }
  return factsOf(st);
}

void PosixFileSystem::createFolder(const QString& path) {
  createableFolder(path);
  if (::mkdir(QFile::encodeName(path).constData(), 0777) == 0 || errno == EEXIST) {
    createableFolder(path);  // what arrived meanwhile is judged as if found before
    return;
  }
  throw errnoError(errno, QStringLiteral("フォルダー %1 を作れません。").arg(path));
}

void PosixFileSystem::removeFile(const QString& path) {
  removableFile(path);
  const QByteArray bytes = QFile::encodeName(path);
  if (::unlink(bytes.constData()) == 0 || errno == ENOENT) return;
  throw errnoError(errno, QStringLiteral("ファイル %1 を削除できません。").arg(path));
}

void PosixFileSystem::requireReadable(const QString& path) {
  // One look serves both: what queryAttributes raises, and whether this is a file to open
  // at all. O_NONBLOCK covers a FIFO swapped in between the look and the open.
  if (!S_ISREG(statOf(path).st_mode)) return;
  const FileDescriptor fd =
      openRetrying(QFile::encodeName(path).constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
  const int err = fd.valid() ? 0 : errno;
  if (err == 0 || err == ENOENT) return;
  throw errnoError(err, QStringLiteral("ファイル「%1」を開けません。").arg(path));
}

void PosixFileSystem::rename(const QString& from, const QString& to) {
  const QByteArray fromBytes = QFile::encodeName(from);
  const QByteArray toBytes = QFile::encodeName(to);
  if (fromBytes == toBytes) {
    // The name stays as it is; only a missing file is an error.
    queryAttributes(from);
    return;
  }
  // The rename is tried first: it moves nothing when it fails, and most albums pass, so
  // the precondition that chooses the error runs only for a rename that failed. It
  // raises what a dry run raises, as before anything moves; any other failure is the
  // rename's own.
  const int err = renameNoReplace(fromBytes.constData(), toBytes.constData());
  if (err == 0) return;
  if (const int refusal = renameRefusal(fromBytes, toBytes)) throw renameError(refusal, from, to);
  throw renameError(err, from, to);
}

}  // namespace orv::platform
