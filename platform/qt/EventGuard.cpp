#include "platform/qt/EventGuard.h"

#include <cstdlib>

namespace orv::platform {

namespace {
// The numbers the original run-time gave these failures.
constexpr int kOutOfMemory = 7;
constexpr int kInternalError = 51;
}  // namespace

RuntimeError asRuntimeError(const std::exception& error) {
  if (dynamic_cast<const std::bad_alloc*>(&error)) {
    return RuntimeError(kOutOfMemory, QStringLiteral("メモリが不足しています。"));
  }
  return RuntimeError(
      kInternalError,
      QStringLiteral("内部エラーです（%1）。").arg(QString::fromLocal8Bit(error.what())));
}

RuntimeError unknownError() {
  return RuntimeError(kInternalError, QStringLiteral("内部エラーです。"));
}

void reportAndEnd(WindowSystem& windowSystem, const RuntimeError& error) {
  windowSystem.reportUnhandledError(error);
  std::abort();  // a report that returned would leave the program in an unknown state
}

}  // namespace orv::platform
