#include "platform/taglib/FdStream.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace orv::platform {

FdStream::FdStream(int fd, QByteArray name) : fd_(fd), name_(std::move(name)) {
  struct stat st {};
  if (::fstat(fd_, &st) == 0 && S_ISREG(st.st_mode)) length_ = static_cast<long>(st.st_size);
}

TagLib::ByteVector FdStream::readBlock(unsigned long length) {
  const long wanted = static_cast<long>(std::min<unsigned long>(
      length, static_cast<unsigned long>(std::max(0L, length_ - position_))));
  TagLib::ByteVector data(static_cast<unsigned int>(wanted), '\0');
  long done = 0;
  while (done < wanted) {
    const ssize_t n = ::pread(fd_, data.data() + done, static_cast<size_t>(wanted - done),
                              static_cast<off_t>(position_ + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;  // a read error ends the data like the end of the file does
    done += n;
  }
  data.resize(static_cast<unsigned int>(done));
  position_ += done;
  return data;
}

void FdStream::seek(long offset, Position p) {
  const long base = p == Beginning ? 0 : p == Current ? position_ : length_;
  position_ = std::max(0L, base + offset);
}

}  // namespace orv::platform
