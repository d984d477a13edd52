#include "platform/taglib/FdStream.h"

#include <algorithm>

namespace orv::platform {

FdStream::FdStream(const TrackFile& file, QByteArray name) : file_(file), name_(std::move(name)) {}

TagLib::ByteVector FdStream::readBlock(unsigned long length) {
  const long wanted = static_cast<long>(std::min<unsigned long>(
      length, static_cast<unsigned long>(std::max(0L, this->length() - position_))));
  const long servedEnd = servedOffset_ + static_cast<long>(served_.size());
  if (!served_.isEmpty() && position_ >= servedOffset_ && position_ + wanted <= servedEnd) {
    const long from = position_ - servedOffset_;
    position_ += wanted;
    return served_.mid(static_cast<unsigned int>(from), static_cast<unsigned int>(wanted));
  }
  TagLib::ByteVector data(static_cast<unsigned int>(wanted), '\0');
  // A read error ends the data like the end of the file does.
  const long done =
      static_cast<long>(std::max<qint64>(0, file_.read(position_, data.data(), wanted)));
  data.resize(static_cast<unsigned int>(done));
  position_ += done;
  return data;
}

void FdStream::serveFromMemory(long offset, TagLib::ByteVector bytes) {
  servedOffset_ = offset;
  served_ = std::move(bytes);
}

void FdStream::seek(long offset, Position p) {
  const long base = p == Beginning ? 0 : p == Current ? position_ : length();
  position_ = std::max(0L, base + offset);
}

}  // namespace orv::platform
