#pragma once

#include "platform/qt/PushButton.h"

namespace orv::platform {

// A push button whose caption wraps onto further lines when it is wider than the button,
// so the build button's long caption shows whole. text() stays the caption as given; the
// caption is plain text (no "&" access key).
//
//   auto* b = new WrappingButton("フォルダー選択＆ html 作成", window);  // two lines at 117 px
class WrappingButton : public PushButton {
 public:
  WrappingButton(const QString& caption, QWidget* parent);

  // The caption's lines as painted at the button's present size.
  QStringList paintedLines() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QRect captionRect() const;
};

}  // namespace orv::platform
