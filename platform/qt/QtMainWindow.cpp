#include "platform/qt/QtMainWindow.h"

#include "platform/RuntimeError.h"

namespace orv::platform {

struct QtMainWindow::Controls {};

QtMainWindow::QtMainWindow(WindowSystem& ws) : windowSystem_(ws) {}
QtMainWindow::~QtMainWindow() = default;
void QtMainWindow::setEvents(FormEvents* events) { events_ = events; }
Button& QtMainWindow::command1() { throw RuntimeError(1, QStringLiteral("未実装")); }
Button& QtMainWindow::command3() { throw RuntimeError(1, QStringLiteral("未実装")); }
Label& QtMainWindow::label(int) { throw RuntimeError(1, QStringLiteral("未実装")); }
Grid& QtMainWindow::grid() { throw RuntimeError(1, QStringLiteral("未実装")); }
void QtMainWindow::show() { QWidget::show(); }
void QtMainWindow::unload() {}
void QtMainWindow::setMousePointer(int) {}
void QtMainWindow::closeEvent(QCloseEvent*) {}

}  // namespace orv::platform
