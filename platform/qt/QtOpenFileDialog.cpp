#include "platform/qt/QtOpenFileDialog.h"

#include "core/RuntimeError.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QFileDialog>
#include <QStringList>

namespace orv::platform {
namespace {

// "description|pattern|description|pattern…" (patterns separated by ";") as Qt's name
// filters: "description (pattern pattern)".
QStringList nameFilters(const QString& filter) {
  const QStringList parts = filter.split(u'|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QStringList patterns = parts[i + 1].split(u';', Qt::SkipEmptyParts);
    filters << QStringLiteral("%1 (%2)").arg(parts[i], patterns.join(u' ').trimmed());
  }
  return filters;
}

}  // namespace

QtOpenFileDialog::QtOpenFileDialog(QWidget* parent) : parent_(parent) {}

QtOpenFileDialog::~QtOpenFileDialog() { delete dialog_.data(); }

void QtOpenFileDialog::setCancelError(bool cancelError) { cancelError_ = cancelError; }

void QtOpenFileDialog::setFilter(const QString& filter) { filter_ = filter; }

void QtOpenFileDialog::ShowOpen() {
  if (dialog_ == nullptr) {
    dialog_ = new QFileDialog(parent_);
    // Qt's own dialog; a desktop's native one can't be driven by tests and differs from
    // desktop to desktop. The file mode stays Qt's default (any file name), so a name
    // typed by hand is taken as it is, whether a file has it or not.
    dialog_->setOption(QFileDialog::DontUseNativeDialog);
    dialog_->setAcceptMode(QFileDialog::AcceptOpen);
  }
  // The file model matches name filters without regard to letter case: "*.mp3" shows
  // "A.MP3" as well.
  dialog_->setNameFilters(nameFilters(filter_));
  // The last choice is where the dialog opens: its folder, and its name in the field.
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
