#include "platform/qt/EventGuard.h"

#include <cstdlib>

namespace orv::platform {

void reportAndEnd(WindowSystem& windowSystem, const RuntimeError& error) {
  windowSystem.reportUnhandledError(error);
  std::abort();  // a report that returned would leave the program in an unknown state
}

}  // namespace orv::platform
