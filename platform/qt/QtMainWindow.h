#pragma once

#include "platform/FormControls.h"
#include "platform/WindowSystem.h"

#include <QWidget>

#include <memory>

namespace orv::platform {

// Who draws the main window's title bar: the desktop, or (where it draws none, see
// desktopDrawsTitleBars()) the window itself, with a DrawnFrame.
enum class TitleBar { kDesktop, kDrawn };

// The main window "Sonalith AlbumVersion" with its controls at fixed places: a fixed
// 624 x 416 client area, a close box and no minimise or maximise box. It shows and reports; all
// decisions belong to FormEvents. The widgets carry the controls' names as object names
// ("buildButton", "statusLabel", "trackGrid").
//
//   QtMainWindow window(windowSystem, desktopDrawsTitleBars() ? TitleBar::kDesktop
//                                                             : TitleBar::kDrawn);
//   QtOpenFileDialog dialog(&window);
//   MainForm form(window.controls(dialog), services);
//   window.setEvents(&form);
class QtMainWindow : public QWidget, public FormWindow {
  Q_OBJECT

 public:
  explicit QtMainWindow(WindowSystem& windowSystem, TitleBar titleBar = TitleBar::kDesktop);
  ~QtMainWindow() override;

  // Where clicks and close requests go. Exceptions they raise end in the window
  // system's report; none crosses the event loop. Without events the close box closes.
  void setEvents(FormEvents* events);

  // The controls the form drives, with `openFileDialog` as the window's dialog.
  FormControls controls(OpenFileDialog& openFileDialog);

  // Shows the window with the build button focused.
  void show() override;
  // Closes the window without asking FormEvents; as the program's only window, its
  // close ends the event loop.
  void unload() override;
  void setMousePointer(Pointer pointer) override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  struct Controls;
  void handle(void (FormEvents::*handler)());

  WindowSystem& windowSystem_;
  FormEvents* events_ = nullptr;
  std::unique_ptr<Controls> controls_;
  bool unloading_ = false;
};

}  // namespace orv::platform
