#pragma once

#include "core/RuntimeError.h"

#include <QString>

namespace orv::platform {

// The icon of a message box; every message box has one button, OK.
enum class MessageIcon { kNone, kWarning };

// The mouse pointer over the main window: the desktop's own, or its busy pointer while a
// build runs.
enum class Pointer { kDefault, kBusy };

// The application title a message box shows when it is given none.
inline const QString kAppTitle = QStringLiteral("Orv");

// Window-system and run-time services of the program as a whole.
class WindowSystem {
 public:
  virtual ~WindowSystem() = default;

  // True when another copy of the program already runs for this user.
  virtual bool previousInstanceRunning() = 0;

  // A modal message box with an OK button; returns when the user has closed it. `text`
  // may hold CR LF pairs. An empty title shows kAppTitle.
  //
  //   ws.messageBox("すでに…", MessageIcon::kWarning, "二重起動禁止");
  virtual void messageBox(const QString& text, MessageIcon icon, const QString& title = {}) = 0;

  // Handles every pending window event (paint, input, close), then returns.
  virtual void processPendingMessages() = 0;

  // Ends the program at once: no further code runs, no window gets a close event.
  [[noreturn]] virtual void endProgram(int exitCode = 0) = 0;

  // The report of an error no handler took: a message box with its number and
  // description, then the end of the program.
  [[noreturn]] virtual void reportUnhandledError(const RuntimeError& error) = 0;
};

// A push button of the main window.
class Button {
 public:
  virtual ~Button() = default;
  virtual void setEnabled(bool enabled) = 0;  // a disabled button takes no clicks
};

// A label of the main window.
class Label {
 public:
  virtual ~Label() = default;
  virtual void setCaption(const QString& caption) = 0;  // shown at the next repaint
  virtual QString caption() const = 0;
};

// The main window as a whole.
class FormWindow {
 public:
  virtual ~FormWindow() = default;
  // Visible, not modal, without an owner.
  virtual void show() = 0;
  // Destroys the window; with no window left, the program ends.
  virtual void unload() = 0;
  // The pointer over the whole window.
  virtual void setMousePointer(Pointer pointer) = 0;
};

// What the main window's controls report. The window system calls these on the user
// interface thread, and never lets an exception they raise cross its event loop: an
// uncaught RuntimeError goes to WindowSystem::reportUnhandledError.
class FormEvents {
 public:
  virtual ~FormEvents() = default;
  // The build button was clicked.
  virtual void buildAlbum() = 0;
  // The quit button was clicked.
  virtual void quit() = 0;
  // The close box or the system menu asks to close the window. True lets it close now.
  virtual bool queryClose() = 0;
};

}  // namespace orv::platform
