#include "platform/qt/QtWindowSystem.h"

#include <QApplication>

#include <cstdlib>

namespace orv::platform {

QtWindowSystem::QtWindowSystem(QApplication& app, const QString&) : app_(app) {}
QtWindowSystem::~QtWindowSystem() = default;
bool QtWindowSystem::previousInstanceRunning() { return false; }
void QtWindowSystem::messageBox(const QString&, int, const QString&) {}
void QtWindowSystem::processPendingMessages() {}
void QtWindowSystem::endProgram(int exitCode) { std::_Exit(exitCode); }
void QtWindowSystem::reportUnhandledError(const RuntimeError&) { std::_Exit(1); }

}  // namespace orv::platform
