#pragma once

#include "platform/OpenFileDialog.h"

#include <QPointer>

class QFileDialog;
class QWidget;

namespace orv::platform {

// The open-file dialog on QFileDialog: the desktop's own chooser where the platform theme
// offers one (GTK's, the portal's, Plasma's), Qt's widget dialog where none does (a bare
// X server, offscreen). The one QFileDialog is made on the first use (not at start-up,
// where it would cost some 40 ms) and kept, so it reopens on the last choice. Its filter
// reads "mp3ファイル (*.mp3)".
//
//   QtOpenFileDialog dialog(mainWindow);   // once, for the life of the window
//   dialog.chooseMp3File();                // "/music/a/01 Intro.mp3", or nullopt
class QtOpenFileDialog : public OpenFileDialog {
 public:
  explicit QtOpenFileDialog(QWidget* parent);
  ~QtOpenFileDialog() override;
  QtOpenFileDialog(const QtOpenFileDialog&) = delete;
  QtOpenFileDialog& operator=(const QtOpenFileDialog&) = delete;

  std::optional<QString> chooseMp3File() override;

 private:
  QWidget* parent_;
  // The parent owns the dialog when there is one; the pointer notices its deletion.
  QPointer<QFileDialog> dialog_;
  QString chosen_;  // the last choice
};

}  // namespace orv::platform
