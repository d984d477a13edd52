#include "platform/qt/QtOpenFileDialog.h"

#include "platform/RuntimeError.h"

namespace orv::platform {

QtOpenFileDialog::QtOpenFileDialog(QWidget* parent) : parent_(parent) {}
void QtOpenFileDialog::setCancelError(bool c) { cancelError_ = c; }
void QtOpenFileDialog::setFilter(const QString& f) { filter_ = f; }
void QtOpenFileDialog::ShowOpen() { throw RuntimeError(1, QStringLiteral("未実装")); }
QString QtOpenFileDialog::fileName() const { return fileName_; }

}  // namespace orv::platform
