#pragma once

#include "app/MainForm.h"
#include "platform/WindowSystem.h"

#include <functional>

namespace orv {

inline const QString kAlreadyRunningMessage =
    QStringLiteral("すでにプログラムは動作していています。");
inline const QString kAlreadyRunningTitle = QStringLiteral("二重起動禁止");

// The program's start: a second copy warns and ends; the first creates the main form
// (through `mainForm`, which creates it on first use) and loads it, then returns to the
// event loop.
//
//   StartUp(windowSystem, [&]() -> MainForm& { return form; });
void StartUp(platform::WindowSystem& windowSystem, const std::function<MainForm&()>& mainForm);

}  // namespace orv
