#include "platform/qt/QtOpenFileDialog.h"

#include "core/RuntimeError.h"
#include "platform/qt/NameFilters.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QFileDialog>

namespace orv::platform {

QtOpenFileDialog::QtOpenFileDialog(QWidget* parent) : parent_(parent) {}

QtOpenFileDialog::~QtOpenFileDialog() { delete dialog_.data(); }

void QtOpenFileDialog::setCancelError(bool cancelError) { cancelError_ = cancelError; }

void QtOpenFileDialog::setFilter(const QString& filter) { filter_ = filter; }

void QtOpenFileDialog::ShowOpen() {
  if (dialog_ == nullptr) {
    // The desktop's own chooser where its platform theme offers one (GTK's, the portal's,
    // Plasma's), Qt's widget dialog elsewhere. The file mode stays Qt's default (any file
    // name), so a name typed by hand is taken as it is, whether a file has it or not.
    dialog_ = new QFileDialog(parent_);
    dialog_->setAcceptMode(QFileDialog::AcceptOpen);
    // Qt's dialog titles itself "Open" in the user's language; a desktop chooser would get
    // no title at all from Qt.
    dialog_->setWindowTitle(QFileDialog::tr("Open"));
  }
  // Qt makes its own dialog's widgets only where no desktop chooser stands in for them.
  const Chooser chooser = dialog_->itemDelegate() == nullptr ? Chooser::kDesktop : Chooser::kQt;
  dialog_->setNameFilters(nameFilters(filter_, chooser));
  // The last choice is where the dialog opens: its folder, with its name in Qt's field or
  // picked out in the desktop chooser's list.
  if (!fileName_.isEmpty()) dialog_->selectFile(fileName_);
  const int result = dialog_->exec();
  // The name field's completion list is a window of its own; it can outlive the dialog
  // and cover part of the main window.
  for (QCompleter* completer : dialog_->findChildren<QCompleter*>()) {
    if (completer->popup() != nullptr) completer->popup()->hide();
  }
  if (result != QDialog::Accepted) {
    if (cancelError_) throw RuntimeError(ErrorCode::kCancel);
    return;
  }
  const QStringList chosen = dialog_->selectedFiles();
  if (!chosen.isEmpty()) fileName_ = chosen.first();
}

QString QtOpenFileDialog::fileName() const { return fileName_; }

}  // namespace orv::platform
