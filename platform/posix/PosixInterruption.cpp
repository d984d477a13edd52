#include "platform/posix/PosixInterruption.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <iterator>
#include <utility>

namespace orv::platform {
namespace {

constexpr int kStopSignals[] = {SIGINT, SIGTERM};

std::atomic<int> firstRequest{0};
static_assert(std::atomic<int>::is_always_lock_free,
              "a signal handler may only touch lock-free atomics");

struct sigaction savedActions[std::size(kStopSignals)];

// The pipe the handler wakes waits by: [0] read, [1] written by the handler.
int wakePipe[2] = {-1, -1};
std::atomic<int> wakeWriter{-1};

void setAction(int sig, void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  ::sigaction(sig, &action, nullptr);
}

// Async-signal-safe: an atomic store, write and sigaction only.
void noteRequest(int sig) {
  int none = 0;
  if (firstRequest.compare_exchange_strong(none, sig)) {
    const int savedErrno = errno;
    if (const int fd = wakeWriter.load(); fd >= 0) (void)!::write(fd, "!", 1);
    errno = savedErrno;
  }
  for (const int stop : kStopSignals) setAction(stop, SIG_DFL);
}

}  // namespace

PosixInterruption::PosixInterruption() {
  firstRequest = 0;
  // Without the pipe a wait simply doesn't wake early; the request is noted all the same.
  if (::pipe2(wakePipe, O_CLOEXEC | O_NONBLOCK) == 0) wakeWriter = wakePipe[1];
  for (std::size_t i = 0; i < std::size(kStopSignals); ++i) {
    ::sigaction(kStopSignals[i], nullptr, &savedActions[i]);
    setAction(kStopSignals[i], noteRequest);
  }
}

PosixInterruption::~PosixInterruption() {
  for (std::size_t i = 0; i < std::size(kStopSignals); ++i) {
    ::sigaction(kStopSignals[i], &savedActions[i], nullptr);
  }
  wakeWriter = -1;
  for (int& fd : wakePipe) {
    if (fd >= 0) ::close(std::exchange(fd, -1));
  }
}

int PosixInterruption::wakeDescriptor() const { return wakePipe[0]; }

int PosixInterruption::requested() const { return firstRequest.load(); }

}  // namespace orv::platform
