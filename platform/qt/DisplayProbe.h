#pragma once

namespace orv::platform {

// Whether the window can appear, found before Qt starts: Qt ends the program with an
// abort when it reaches no display. Unless QT_QPA_PLATFORM chooses Qt's platform (then
// Qt decides alone), this connects to the Wayland compositor that Qt would use
// (WAYLAND_DISPLAY, or the session's) and to the X server (DISPLAY, with its
// authorisation), and disconnects again.
enum class DisplayReach {
  kReachable,               // Qt finds a display as usual
  kWaylandOnly,             // only the compositor answers: Qt must be told to use it
  kWaylandWithoutQtPlugin,  // only the compositor answers, and Qt's Wayland plugin is missing
  kNone,
};
//
//   if (reachDisplay() == DisplayReach::kNone) return noDisplay();
DisplayReach reachDisplay();

// Whether the desktop draws the window's title bar: true on X11 and wherever Qt's
// platform is not Wayland; on Wayland only where the compositor offers to decorate
// windows itself (xdg-decoration). Elsewhere Qt would draw its own title bar, with
// buttons for minimising and maximising whatever the window asks. Call it once the
// QApplication exists.
//
//   QtMainWindow window(ws, desktopDrawsTitleBars() ? TitleBar::kDesktop : TitleBar::kOwn);
bool desktopDrawsTitleBars();

}  // namespace orv::platform
