#pragma once

#include <unistd.h>

#include <utility>

namespace orv::platform {

// Owns an open file descriptor and closes it once.
//
//   FileDescriptor fd(::open(path, O_RDONLY | O_CLOEXEC));
//   if (!fd.valid()) ...;  // errno tells why
//   ::pread(fd.get(), buf, n, 0);
class FileDescriptor {
 public:
  FileDescriptor() = default;
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  FileDescriptor& operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
      reset();
      fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() { reset(); }

  bool valid() const { return fd_ >= 0; }
  int get() const { return fd_; }

 private:
  void reset() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

  int fd_ = -1;
};

}  // namespace orv::platform
