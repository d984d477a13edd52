#include "platform/posix/FileDescriptor.h"

#include "platform/posix/RetryAfterSignal.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace orv::platform {

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
  if (this != &other) {
    close();
    fd_ = std::exchange(other.fd_, -1);
  }
  return *this;
}

FileDescriptor::~FileDescriptor() { close(); }

int FileDescriptor::close() {
  if (fd_ < 0) return 0;
  const int result = ::close(std::exchange(fd_, -1));
  return result == 0 ? 0 : errno;
}

FileDescriptor openRetrying(const char* path, int flags, unsigned mode) {
  return FileDescriptor(
      retryAfterSignal(-1, ::open, path, flags | O_CLOEXEC, static_cast<mode_t>(mode)));
}

qint64 readAt(int fd, qint64 pos, void* out, qint64 size) {
  auto* bytes = static_cast<char*>(out);
  qint64 done = 0;
  while (done < size) {
    const ssize_t n =
        retryAfterSignal(-1, ::pread, fd, bytes + done, static_cast<size_t>(size - done),
                         static_cast<off_t>(pos + done));
    if (n < 0) return done > 0 ? done : -1;
    if (n == 0) break;
    done += n;
  }
  return done;
}

}  // namespace orv::platform
