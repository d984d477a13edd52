#pragma once

#include "platform/Interruption.h"

namespace orv::platform {

// Ctrl-C and SIGTERM noted by a handler that only stores the signal, writes a byte to a
// pipe of its own (so that a wait for other descriptors can wake on it) and gives both
// signals back their default action, so that the second one ends the program at once.
// One at a time, for the length of a run; the previous actions come back with its end.
//
//   PosixInterruption interruption;   // from here on, Ctrl-C is only noted
//   return RunBatch(…, interruption);
class PosixInterruption : public Interruption {
 public:
  PosixInterruption();
  ~PosixInterruption() override;
  PosixInterruption(const PosixInterruption&) = delete;
  PosixInterruption& operator=(const PosixInterruption&) = delete;

  int requested() const override;

  // A descriptor that becomes readable with the first request and stays so, for poll():
  //
  //   pollfd fds[] = {{inotifyFd, POLLIN, 0}, {interruption.wakeDescriptor(), POLLIN, 0}};
  int wakeDescriptor() const;
};

}  // namespace orv::platform
