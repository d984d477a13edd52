#include "platform/taglib/FdStream.h"

#include "platform/posix/FileDescriptor.h"

#include <sys/stat.h>

#include <algorithm>

namespace orv::platform {

FdStream::FdStream(int fd, QByteArray name) : fd_(fd), name_(std::move(name)) {
  struct stat st {};
  if (::fstat(fd_, &st) == 0 && S_ISREG(st.st_mode)) length_ = static_cast<long>(st.st_size);
}

TagLib::ByteVector FdStream::readBlock(unsigned long length) {
  const long wanted = static_cast<long>(std::min<unsigned long>(
      length, static_cast<unsigned long>(std::max(0L, length_ - position_))));
  const long servedEnd = servedOffset_ + static_cast<long>(served_.size());
  if (!served_.isEmpty() && position_ >= servedOffset_ && position_ + wanted <= servedEnd) {
    const long from = position_ - servedOffset_;
    position_ += wanted;
    return served_.mid(static_cast<unsigned int>(from), static_cast<unsigned int>(wanted));
  }
  TagLib::ByteVector data(static_cast<unsigned int>(wanted), '\0');
  // A read error ends the data like the end of the file does.
  const long done =
      static_cast<long>(std::max<qint64>(0, readAt(fd_, position_, data.data(), wanted)));
  data.resize(static_cast<unsigned int>(done));
  position_ += done;
  return data;
}

void FdStream::serveFromMemory(long offset, TagLib::ByteVector bytes) {
  servedOffset_ = offset;
  served_ = std::move(bytes);
}

void FdStream::seek(long offset, Position p) {
  const long base = p == Beginning ? 0 : p == Current ? position_ : length_;
  position_ = std::max(0L, base + offset);
}

}  // namespace orv::platform
