#include "platform/taglib/TrackFile.h"

#include "platform/posix/FileDescriptor.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>

namespace orv::platform {
namespace {

constexpr qint64 kHead = 16 * 1024;
constexpr qint64 kTail = 4 * 1024;

qint64 regularFileSize(int fd) {
  struct stat st {};
  return fd >= 0 && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) ? st.st_size : 0;
}

}  // namespace

TrackFile::TrackFile(int fd) : TrackFile(fd, regularFileSize(fd)) {}

TrackFile::TrackFile(int fd, qint64 size) : fd_(fd), size_(size) {
  if (size_ <= kHead + kTail) {
    head_.end = size_;
  } else {
    head_.end = kHead;
    tail_.begin = size_ - kTail;
    tail_.end = size_;
  }
}

qint64 TrackFile::read(qint64 pos, void* out, qint64 size) const {
  if (pos < 0 || size < 0) return -1;
  size = std::min(size, std::max<qint64>(0, size_ - pos));
  if (size == 0) return 0;
  if (serve(head_, pos, out, size) || serve(tail_, pos, out, size)) return size;
  return readAt(fd_, pos, out, size);
}

bool TrackFile::serve(Block& block, qint64 pos, void* out, qint64 size) const {
  if (pos < block.begin || pos + size > block.end) return false;
  if (!block.loaded) {
    block.loaded = true;
    block.bytes.resize(block.end - block.begin);
    const qint64 got = readAt(fd_, block.begin, block.bytes.data(), block.bytes.size());
    // Short of an error or a file cut meanwhile, the block holds all it should; what it
    // lacks is read from the file, which answers as it answers.
    block.end = block.begin + std::max<qint64>(0, got);
    block.bytes.resize(block.end - block.begin);
    if (pos + size > block.end) return false;
  }
  std::memcpy(out, block.bytes.constData() + (pos - block.begin), static_cast<size_t>(size));
  return true;
}

}  // namespace orv::platform
