#include "platform/posix/SameContent.h"

#include "platform/posix/FileDescriptor.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>

#include <cstring>

namespace orv::platform {

bool holdsExactly(const QString& path, const QByteArray& content) {
  // O_NONBLOCK: a FIFO put in the page's place must not stop the build.
  const FileDescriptor file = openRetrying(QFile::encodeName(path).constData(),
                                           O_RDONLY | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK);
  struct stat st {};
  if (!file.valid() || ::fstat(file.get(), &st) != 0 || !S_ISREG(st.st_mode) ||
      st.st_size != content.size()) {
    return false;
  }
  char buffer[64 * 1024];
  for (qint64 pos = 0; pos < content.size();) {
    const qint64 got = readAt(file.get(), pos, buffer, sizeof buffer);
    if (got <= 0 || std::memcmp(buffer, content.constData() + pos, got) != 0) return false;
    pos += got;
  }
  // One byte more than it had when looked at: it grew meanwhile.
  return readAt(file.get(), content.size(), buffer, 1) == 0;
}

}  // namespace orv::platform
