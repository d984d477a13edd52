#include "platform/qt/BoxedLabel.h"

namespace orv::platform {

BoxedLabel::BoxedLabel(const QString& caption, std::optional<QColor> background, QWidget* parent,
                       QAccessible::Role accessibleRole)
    : QLabel(parent), accessibleRole_(accessibleRole) {
  setTextFormat(Qt::PlainText);
  // Set once this is a BoxedLabel: Qt describes a label to assistive technology when its
  // text is first set, and keeps that description.
  setText(caption);
  setFocusPolicy(Qt::NoFocus);
  setWordWrap(false);
  if (!background) {
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return;
  }
  setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  setAutoFillBackground(true);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, *background);
  colours.setColor(QPalette::WindowText, Qt::black);
  setPalette(colours);
  // A plain frame is drawn in the text colour: the flat black line of a boxed label.
  setFrameStyle(QFrame::Box | QFrame::Plain);
  setLineWidth(1);
  setIndent(2);
}

}  // namespace orv::platform
