#pragma once

#include "platform/OpenFileDialog.h"

class QWidget;

namespace orv::platform {

// The open-file dialog on Qt's own (non-native) file dialog, so it looks and behaves the
// same on every desktop and can be driven under test.
class QtOpenFileDialog : public OpenFileDialog {
 public:
  explicit QtOpenFileDialog(QWidget* parent);
  void setCancelError(bool cancelError) override;
  void setFilter(const QString& filter) override;
  void ShowOpen() override;
  QString fileName() const override;

 private:
  QWidget* parent_;
  bool cancelError_ = false;
  QString filter_;
  QString fileName_;
};

}  // namespace orv::platform
