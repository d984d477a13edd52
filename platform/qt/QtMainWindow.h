#pragma once

#include "platform/Grid.h"
#include "platform/WindowSystem.h"

#include <QWidget>

#include <memory>

namespace orv::platform {

// The main window "Sonalith AlbumVersion" with its controls, laid out in twips as the
// original form was. It shows and reports; all decisions belong to FormEvents.
class QtMainWindow : public QWidget, public FormWindow {
  Q_OBJECT

 public:
  explicit QtMainWindow(WindowSystem& windowSystem);
  ~QtMainWindow() override;

  // Where clicks and close requests go. Exceptions they raise end in the window
  // system's report; none crosses the event loop.
  void setEvents(FormEvents* events);

  Button& command1();
  Button& command3();
  Label& label(int number);  // Label1 … Label6
  Grid& grid();

  void show() override;
  void unload() override;
  void setMousePointer(int pointer) override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  struct Controls;
  WindowSystem& windowSystem_;
  FormEvents* events_ = nullptr;
  std::unique_ptr<Controls> controls_;
};

}  // namespace orv::platform
