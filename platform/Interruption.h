#pragma once

namespace orv::platform {

// The user's request that a run without a window stop: Ctrl-C (SIGINT) or the system's
// SIGTERM. The first request is only noted, for the run to stop at a safe point; a second
// ends the program at once.
//
//   if (interruption.requested() != 0) return notStarted(album);
//   return 128 + interruption.requested();   // 130 after Ctrl-C, 143 after SIGTERM
class Interruption {
 public:
  virtual ~Interruption() = default;
  // The signal number of the first request, 0 while there has been none.
  virtual int requested() const = 0;
};

}  // namespace orv::platform
