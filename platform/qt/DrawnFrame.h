#pragma once

#include <QAbstractButton>
#include <QWidget>

namespace orv::platform {

// The title bar and outline that a window draws itself where the desktop draws none
// (DisplayProbe's desktopDrawsTitleBars()): the window's icon and title, and a close box
// only, as the desktops draw the title bar of a window whose size is fixed. Dragging the
// bar moves the window; the close box closes it as the desktop's would. The frame covers
// the whole window, which it makes frameless and sizes around the client area.
//
//   auto* frame = new DrawnFrame(window, QSize(624, 416));
//   new QPushButton("終了", frame->client());
class DrawnFrame : public QWidget {
 public:
  DrawnFrame(QWidget* window, QSize clientSize);

  // Where the window's controls go, below the title bar.
  QWidget* client() const { return client_; }

  static constexpr int kTitleBarHeight = 30;
  static constexpr int kBorder = 1;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* client_;
  QAbstractButton* closeBox_;
};

}  // namespace orv::platform
