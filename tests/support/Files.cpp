#include "tests/support/Files.h"

#include <QFile>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

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

}  // namespace orv::test
