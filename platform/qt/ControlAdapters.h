#pragma once

#include "platform/WindowSystem.h"

#include <QAbstractButton>
#include <QLabel>

namespace orv::platform {

// A Qt button as the form's logic sees it.
class ButtonAdapter : public Button {
 public:
  explicit ButtonAdapter(QAbstractButton& button) : button_(button) {}
  void setEnabled(bool enabled) override { button_.setEnabled(enabled); }

 private:
  QAbstractButton& button_;
};

// A Qt label as the form's logic sees it.
class LabelAdapter : public Label {
 public:
  explicit LabelAdapter(QLabel& label) : label_(label) {}
  void setCaption(const QString& caption) override { label_.setText(caption); }
  QString caption() const override { return label_.text(); }

 private:
  QLabel& label_;
};

}  // namespace orv::platform
