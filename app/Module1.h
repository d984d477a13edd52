#pragma once

#include "app/Frm010_Orv.h"
#include "platform/WindowSystem.h"

#include <functional>

namespace orv::Module1 {

inline const QString kAlreadyRunningMessage =
    QStringLiteral("すでにプログラムは動作していています。");
inline const QString kAlreadyRunningTitle = QStringLiteral("二重起動禁止");

// The program's start: a second copy warns and ends; the first creates the main window
// (through `mainWindow`, which creates it on first use) and loads it, then returns to
// the event loop.
void Main(platform::WindowSystem& windowSystem, const std::function<Frm010_Orv&()>& mainWindow);

}  // namespace orv::Module1
