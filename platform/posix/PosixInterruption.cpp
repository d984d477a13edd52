#include "platform/posix/PosixInterruption.h"

#include <signal.h>

#include <atomic>
#include <iterator>

namespace orv::platform {
namespace {

constexpr int kStopSignals[] = {SIGINT, SIGTERM};

std::atomic<int> firstRequest{0};
static_assert(std::atomic<int>::is_always_lock_free,
              "a signal handler may only touch lock-free atomics");

struct sigaction savedActions[std::size(kStopSignals)];

void setAction(int sig, void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  ::sigaction(sig, &action, nullptr);
}

// Async-signal-safe: an atomic store and sigaction only.
void noteRequest(int sig) {
  int none = 0;
  firstRequest.compare_exchange_strong(none, sig);
  for (const int stop : kStopSignals) setAction(stop, SIG_DFL);
}

}  // namespace

PosixInterruption::PosixInterruption() {
  firstRequest = 0;
  for (std::size_t i = 0; i < std::size(kStopSignals); ++i) {
    ::sigaction(kStopSignals[i], nullptr, &savedActions[i]);
    setAction(kStopSignals[i], noteRequest);
  }
}

PosixInterruption::~PosixInterruption() {
  for (std::size_t i = 0; i < std::size(kStopSignals); ++i) {
    ::sigaction(kStopSignals[i], &savedActions[i], nullptr);
  }
}

int PosixInterruption::requested() const { return firstRequest.load(); }

}  // namespace orv::platform
