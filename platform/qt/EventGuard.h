#pragma once

#include "core/RuntimeError.h"
#include "platform/WindowSystem.h"

#include <exception>
#include <type_traits>

namespace orv::platform {

// The window system's report, which does not return.
[[noreturn]] void reportAndEnd(WindowSystem& windowSystem, const RuntimeError& error);

// Runs one window event's handler. No exception leaves it: an error the handler did not
// take goes to the window system's report (as asRuntimeError makes it), which ends the
// program.
//
//   connect(button, &QPushButton::clicked, [&] { guarded(ws, [&] { form.buildAlbum(); }); });
template <typename Handler>
std::invoke_result_t<Handler> guarded(WindowSystem& windowSystem, Handler&& handler) {
  try {
    return handler();
  } catch (...) {
    reportAndEnd(windowSystem, asRuntimeError(std::current_exception()));
  }
}

}  // namespace orv::platform
