#pragma once

#include "platform/Interruption.h"

namespace orv::platform {

// Ctrl-C and SIGTERM noted by a handler that only stores the signal and gives both
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
};

}  // namespace orv::platform
