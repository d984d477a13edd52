#pragma once

#include "platform/OpenFileDialog.h"

#include <QPointer>

class QFileDialog;
class QWidget;

namespace orv::platform {

// The open-file dialog on QFileDialog: the desktop's own chooser where the platform theme
// offers one (GTK's, the portal's, Plasma's), Qt's widget dialog where none does (a bare
// X server, offscreen). The one QFileDialog is made on the first ShowOpen (not at
// start-up, where it would cost some 40 ms) and kept, so it reopens on the last choice.
//
//   QtOpenFileDialog dialog(mainWindow);   // once, for the life of the window
//   dialog.setFilter("mp3ファイル|*.mp3");  // Qt's dialog shows "mp3ファイル (*.mp3)"
class QtOpenFileDialog : public OpenFileDialog {
 public:
  explicit QtOpenFileDialog(QWidget* parent);
  ~QtOpenFileDialog() override;
  QtOpenFileDialog(const QtOpenFileDialog&) = delete;
  QtOpenFileDialog& operator=(const QtOpenFileDialog&) = delete;

  void setCancelError(bool cancelError) override;
  void setFilter(const QString& filter) override;
  void ShowOpen() override;
  QString fileName() const override;

 private:
  QWidget* parent_;
  // The parent owns the dialog when there is one; the pointer notices its deletion.
  QPointer<QFileDialog> dialog_;
  bool cancelError_ = false;
  QString filter_;
  QString fileName_;
};

}  // namespace orv::platform
