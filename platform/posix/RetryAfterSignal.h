#pragma once

#include <cerrno>
#include <utility>

namespace orv::platform {

// Calls `call(args…)` and calls it again for as long as it returns `failure` with errno
// EINTR, that is, as long as a signal cut it off before it did anything; returns what
// the last call returned, errno telling why when that is `failure`. The call site still
// shows the system call and its arguments. Never for close(): Linux frees the descriptor
// even when close() is cut off, and a second close() could close a descriptor another
// thread has just opened.
//
//   const int fd = retryAfterSignal(-1, ::open, path, O_RDONLY | O_CLOEXEC);
//   const ssize_t written = retryAfterSignal(-1, ::write, fd, data, size);
template <typename Failure, typename Call, typename... Args>
auto retryAfterSignal(const Failure& failure, Call&& call, Args&&... args) {
  decltype(call(args...)) result;
  do {
    errno = 0;
    result = call(args...);
  } while (result == failure && errno == EINTR);
  return result;
}

}  // namespace orv::platform
