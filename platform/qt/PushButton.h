#pragma once

#include <QPushButton>

namespace orv::platform {

// A push button that Return and Enter press, as Space does, while it has the focus, as
// users of the window expect of its buttons; Qt's buttons answer Return and Enter only in
// dialogs. A held key presses once.
//
//   auto* close = new PushButton("終了", window);  // Tab to it, Return: clicked()
class PushButton : public QPushButton {
 public:
  PushButton(const QString& caption, QWidget* parent);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace orv::platform
