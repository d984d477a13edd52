#include "platform/qt/QtOpenFileDialog.h"

#include "platform/qt/NameFilters.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QFileDialog>

namespace orv::platform {

QtOpenFileDialog::QtOpenFileDialog(QWidget* parent) : parent_(parent) {}

QtOpenFileDialog::~QtOpenFileDialog() { delete dialog_.data(); }

std::optional<QString> QtOpenFileDialog::chooseMp3File() {
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
  dialog_->setNameFilters(
      {nameFilter(QStringLiteral("mp3ファイル"), QStringLiteral("*.mp3"), chooser)});
  // The last choice is where the dialog opens: its folder, with its name in Qt's field or
  // picked out in the desktop chooser's list.
  if (!chosen_.isEmpty()) dialog_->selectFile(chosen_);
  const int result = dialog_->exec();
  // The name field's completion list is a window of its own; it can outlive the dialog
  // and cover part of the main window.
  for (QCompleter* completer : dialog_->findChildren<QCompleter*>()) {
    if (completer->popup() != nullptr) completer->popup()->hide();
  }
  if (result != QDialog::Accepted) return std::nullopt;
  const QStringList selected = dialog_->selectedFiles();
  if (!selected.isEmpty()) chosen_ = selected.first();
  if (chosen_.isEmpty()) return std::nullopt;
  return chosen_;
}

}  // namespace orv::platform
