#include "platform/qt/DrawnFrame.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

namespace orv::platform {
namespace {

constexpr int kIconSize = 22;
constexpr int kCloseBoxSize = 18;
constexpr int kMargin = 8;

QColor textColour(const QWidget& window) {
  return window.palette().color(window.isActiveWindow() ? QPalette::Active : QPalette::Disabled,
                                QPalette::WindowText);
}

// The close box: a cross, taking no keyboard focus, as title bars' boxes take none.
class CloseBox : public QAbstractButton {
 public:
  explicit CloseBox(QWidget* parent) : QAbstractButton(parent) {
    setObjectName(QStringLiteral("closeBox"));
    setFocusPolicy(Qt::NoFocus);
    setFixedSize(kCloseBoxSize, kCloseBoxSize);
    setToolTip(QStringLiteral("閉じる"));
    setAccessibleName(toolTip());  // a screen reader's name for a button without a caption
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    if (isDown() || underMouse()) {
      p.fillRect(rect(), palette().color(QPalette::Midlight));
    }
    p.setPen(QPen(textColour(*window()), 2));
    const QRectF cross = QRectF(rect()).adjusted(5, 5, -5, -5);
    p.drawLine(cross.topLeft(), cross.bottomRight());
    p.drawLine(cross.bottomLeft(), cross.topRight());
  }
};

}  // namespace

DrawnFrame::DrawnFrame(QWidget* window, QSize clientSize)
    : QWidget(window), client_(new QWidget(this)), closeBox_(new CloseBox(this)) {
  setObjectName(QStringLiteral("drawnFrame"));
  // Only the bare flags: Qt drops FramelessWindowHint beside a system menu's hint.
  window->setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  const QSize size(clientSize.width() + 2 * kBorder,
                   kTitleBarHeight + clientSize.height() + kBorder);
  window->setFixedSize(size);
  setGeometry(QRect(QPoint(), size));
  client_->setObjectName(QStringLiteral("clientArea"));
  client_->setGeometry(QRect(QPoint(kBorder, kTitleBarHeight), clientSize));
  closeBox_->move(size.width() - kMargin - kCloseBoxSize, (kTitleBarHeight - kCloseBoxSize) / 2);
  connect(closeBox_, &QAbstractButton::clicked, window, &QWidget::close);
  // The title, the icon and the look of an active window belong to the window.
  window->installEventFilter(this);
}

bool DrawnFrame::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::WindowTitleChange:
    case QEvent::WindowIconChange:
    case QEvent::ActivationChange:
      update();
      closeBox_->update();
      break;
    default:
      break;
  }
  return QWidget::eventFilter(watched, event);
}

void DrawnFrame::paintEvent(QPaintEvent*) {
  const QWidget& w = *window();
  QPainter p(this);
  p.fillRect(rect(), palette().color(QPalette::Window));
  p.setPen(palette().color(QPalette::Mid));
  p.drawRect(rect().adjusted(0, 0, -1, -1));

  const QRect icon(kMargin, (kTitleBarHeight - kIconSize) / 2, kIconSize, kIconSize);
  w.windowIcon().paint(&p, icon);
  QFont font = p.font();
  font.setPixelSize(14);
  p.setFont(font);
  p.setPen(textColour(w));
  const QRect title(icon.right() + kMargin, 0, closeBox_->x() - icon.right() - 2 * kMargin,
                    kTitleBarHeight);
  p.drawText(title, Qt::AlignCenter | Qt::TextSingleLine,
             p.fontMetrics().elidedText(w.windowTitle(), Qt::ElideRight, title.width()));
}

void DrawnFrame::mousePressEvent(QMouseEvent* event) {
  // The desktop moves the window while the button is held (a move of the window's own
  // would not be allowed under Wayland).
  if (event->button() == Qt::LeftButton && event->position().y() < kTitleBarHeight &&
      window()->windowHandle() != nullptr) {
    window()->windowHandle()->startSystemMove();
  }
}

}  // namespace orv::platform
