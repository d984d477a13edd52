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

}  // namespace orv::platform
