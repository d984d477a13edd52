#include "tests/support/Files.h"

#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace orv::test {
namespace {

[[noreturn]] void fail(const QString& what) { throw std::runtime_error(what.toStdString()); }

}  // namespace

void writeFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) {
    fail("cannot write " + path);
  }
}

void writeFileAt(const QByteArray& nativePath, const QByteArray& bytes) {
  const int fd = ::open(nativePath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  const QString name = QString::fromLocal8Bit(nativePath);
  if (fd < 0) fail("cannot create " + name + ": " + QString::fromLocal8Bit(std::strerror(errno)));
  const bool written = ::write(fd, bytes.constData(), bytes.size()) == bytes.size();
  ::close(fd);
  if (!written) fail("cannot write " + name);
}

QByteArray readFile(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) fail("cannot read " + path);
  return f.readAll();
}

namespace {

void snapshotInto(const QByteArray& root, const QByteArray& relative, TreeSnapshot& snapshot) {
  const QByteArray folder = root + relative;
  DIR* dir = ::opendir(folder.constData());
  if (dir == nullptr) fail("cannot list " + QString::fromLocal8Bit(folder));
  std::vector<QByteArray> names;
  while (const dirent* entry = ::readdir(dir)) {
    const QByteArray name(entry->d_name);
    if (name != "." && name != "..") names.push_back(name);
  }
  ::closedir(dir);
  for (const QByteArray& name : names) {
    const QByteArray path = relative + name;
    struct stat st {};
    if (::lstat((root + path).constData(), &st) != 0)
      fail("cannot stat " + QString::fromLocal8Bit(path));
    if (S_ISLNK(st.st_mode)) {
      char target[4096];
      const ssize_t n = ::readlink((root + path).constData(), target, sizeof target);
      snapshot[path] = "link -> " + QByteArray(target, n < 0 ? 0 : n);
    } else if (S_ISDIR(st.st_mode)) {
      snapshot[path] = "folder";
      snapshotInto(root, path + '/', snapshot);
    } else {
      const int fd = ::open((root + path).constData(), O_RDONLY | O_CLOEXEC);
      if (fd < 0) fail("cannot read " + QString::fromLocal8Bit(path));
      QFile f;
      f.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
      snapshot[path] = f.readAll();
    }
  }
}

}  // namespace

TreeSnapshot snapshotTree(const QString& folder) {
  TreeSnapshot snapshot;
  snapshotInto(QFile::encodeName(folder) + '/', {}, snapshot);
  return snapshot;
}

namespace {

int removeEntry(const char* path, const struct stat*, int, FTW*) {
  ::remove(path);  // what stays is found below
  return 0;
}

}  // namespace

bool removeTree(const QString& folder) {
  const QByteArray root = QFile::encodeName(folder);
  struct stat st {};
  if (::lstat(root.constData(), &st) != 0) return errno == ENOENT;
  ::nftw(root.constData(), removeEntry, 16, FTW_DEPTH | FTW_PHYS);
  return ::lstat(root.constData(), &st) != 0 && errno == ENOENT;
}

}  // namespace orv::test
