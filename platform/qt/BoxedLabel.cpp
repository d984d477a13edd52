#include "platform/qt/BoxedLabel.h"

namespace orv::platform {

BoxedLabel::BoxedLabel(const QString& caption, std::optional<QColor> background, QWidget* parent)
    : QLabel(caption, parent) {
  setTextFormat(Qt::PlainText);
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
