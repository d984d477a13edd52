#pragma once

#include <QString>

namespace orv::platform {

// The modal open-file dialog. One instance lives as long as the main window, so its
// settings and the last chosen file name carry over from one use to the next.
//
//   dialog.setCancelError(true);
//   dialog.setFilter("mp3ファイル|*.mp3");
//   dialog.ShowOpen();                 // throws ErrorCode::kCancel on cancel
//   QString path = dialog.fileName();
class OpenFileDialog {
 public:
  virtual ~OpenFileDialog() = default;

  // With CancelError set, a cancel raises ErrorCode::kCancel from ShowOpen.
  virtual void setCancelError(bool cancelError) = 0;
  // "description|pattern[|description|pattern…]"; patterns match in any letter case.
  virtual void setFilter(const QString& filter) = 0;
  // Shows the dialog and waits until the user closes it. The dialog opens on the last
  // chosen file name.
  virtual void ShowOpen() = 0;
  // The full path of the chosen file (the last one chosen, until a new choice).
  virtual QString fileName() const = 0;
};

}  // namespace orv::platform
