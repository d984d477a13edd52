#pragma once

#include "platform/RuntimeError.h"
#include "platform/WindowSystem.h"

#include <exception>
#include <new>
#include <type_traits>

namespace orv::platform {

// The error a foreign exception stands for in the report of an unhandled error.
//
//   asRuntimeError(std::bad_alloc()).number() == 7
RuntimeError asRuntimeError(const std::exception& error);
RuntimeError unknownError();

// The window system's report, which does not return.
[[noreturn]] void reportAndEnd(WindowSystem& windowSystem, const RuntimeError& error);

// Runs one window event's handler. No exception leaves it: an error the handler did not
// take goes to the window system's report, which ends the program.
//
//   connect(button, &QPushButton::clicked, [&] { guarded(ws, [&] { form.Command1_Click(); }); });
template <typename Handler>
std::invoke_result_t<Handler> guarded(WindowSystem& windowSystem, Handler&& handler) {
  try {
    return handler();
  } catch (const RuntimeError& error) {
    reportAndEnd(windowSystem, error);
  } catch (const std::exception& error) {
    reportAndEnd(windowSystem, asRuntimeError(error));
  } catch (...) {
    reportAndEnd(windowSystem, unknownError());
  }
}

}  // namespace orv::platform
