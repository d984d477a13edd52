#pragma once

#include <QtGlobal>

#include <utility>

namespace orv::platform {

// Owns an open file descriptor and closes it once, on every way out.
//
//   FileDescriptor fd(::open(path, O_RDONLY | O_CLOEXEC));
//   if (!fd.valid()) ...;  // errno tells why
//   readAt(fd.get(), 0, buffer, sizeof buffer);
//   if (int err = fd.close()) ...;  // a late write error, where it matters
class FileDescriptor {
 public:
  FileDescriptor() = default;
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  FileDescriptor& operator=(FileDescriptor&& other) noexcept;
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor();

  bool valid() const { return fd_ >= 0; }
  int get() const { return fd_; }

  // Closes now, so that a failing close (a late write error) is seen: 0 or errno.
  int close();

 private:
  int fd_ = -1;
};

// Opens `path` (file-system bytes) with O_CLOEXEC added to `flags`, again when a signal
// interrupts the call. An invalid descriptor, with errno set, on failure.
//
//   FileDescriptor fd = openRetrying(path, O_WRONLY | O_CREAT | O_EXCL, 0644);
FileDescriptor openRetrying(const char* path, int flags, unsigned mode = 0);

// Reads `size` bytes at `pos` of `fd` with pread, again after a signal or a short read,
// until it has them all or meets the end of the file or an error. Returns how many it
// got: fewer at the end of the file, or before an error (which the next call at the
// following position reports). -1, with errno set, for an error before any byte. Neither
// moves nor depends on the descriptor's file offset.
//
//   unsigned char header[10];
//   if (readAt(fd, 0, header, 10) != 10) ...;  // too short, or unreadable
qint64 readAt(int fd, qint64 pos, void* out, qint64 size);

}  // namespace orv::platform
