#pragma once

#include <QAccessible>
#include <QColor>
#include <QLabel>

#include <optional>

namespace orv::platform {

// A label of the main window: plain text (an album title such as "<b>" shows as typed),
// left aligned, never focused. A boxed label has an opaque background of its colour
// and a flat single-line border. To assistive technology it is static text unless it is
// made with another role (installAccessibleInterfaces()).
//
//   new BoxedLabel("アルバム名", look::kLightYellow, window);
//   new BoxedLabel("ソナリス（アルバムバージョン）", std::nullopt, window);  // no box
//   new BoxedLabel("", look::kLightPink, window, QAccessible::StatusBar);  // changes announced
class BoxedLabel : public QLabel {
 public:
  BoxedLabel(const QString& caption, std::optional<QColor> background, QWidget* parent,
             QAccessible::Role accessibleRole = QAccessible::StaticText);

  QAccessible::Role accessibleRole() const { return accessibleRole_; }

 private:
  QAccessible::Role accessibleRole_;
};

}  // namespace orv::platform
