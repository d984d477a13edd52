#pragma once

#include <QColor>
#include <QLabel>

#include <optional>

namespace orv::platform {

// A label of the main window: plain text (an album title such as "<b>" shows as typed),
// left aligned, never focused. A boxed label has an opaque background of its colour
// and a flat single-line border.
//
//   new BoxedLabel("アルバム名", look::kLightYellow, window);
//   new BoxedLabel("ソナリス（アルバムバージョン）", std::nullopt, window);  // no box
class BoxedLabel : public QLabel {
 public:
  BoxedLabel(const QString& caption, std::optional<QColor> background, QWidget* parent);
};

}  // namespace orv::platform
