#include "platform/qt/WrappingButton.h"

#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTextLayout>

namespace orv::platform {

namespace {
constexpr int kTextFlags = Qt::AlignCenter | Qt::TextWordWrap;
}

WrappingButton::WrappingButton(const QString& caption, QWidget* parent)
    : PushButton(caption, parent) {}

QRect WrappingButton::captionRect() const {
  QStyleOptionButton option;
  initStyleOption(&option);
  return style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
}

QStringList WrappingButton::paintedLines() const {
  // Lays the caption out as QPainter::drawText does for kTextFlags.
  QTextLayout layout(text(), font());
  QTextOption option;
  option.setWrapMode(QTextOption::WordWrap);
  layout.setTextOption(option);
  QStringList lines;
  layout.beginLayout();
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(captionRect().width());
    lines << text().mid(line.textStart(), line.textLength()).trimmed();
  }
  layout.endLayout();
  return lines;
}

void WrappingButton::paintEvent(QPaintEvent*) {
  // The style paints the button without its caption; the caption follows, wrapped.
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  const QString caption = option.text;
  option.text.clear();
  painter.drawControl(QStyle::CE_PushButton, option);

  QRect rect = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
  if (isDown()) {
    rect.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                   style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
  }
  painter.drawItemText(rect, kTextFlags, option.palette, isEnabled(), caption,
                       QPalette::ButtonText);
}

}  // namespace orv::platform
