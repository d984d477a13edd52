#include "platform/qt/DisplayProbe.h"

#include <QCoreApplication>
#include <QDir>

#include <wayland-client.h>
#include <xcb/xcb.h>

#include <memory>

namespace orv::platform {
namespace {

using WaylandConnection = std::unique_ptr<wl_display, decltype(&wl_display_disconnect)>;

// A compositor named by the environment, or the session's own, answers. WAYLAND_SOCKET
// hands over a connection, which a probe would use up.
bool waylandAnswers() {
  if (qEnvironmentVariableIsSet("WAYLAND_SOCKET")) return true;
  if (!qEnvironmentVariableIsSet("WAYLAND_DISPLAY") &&
      qEnvironmentVariable("XDG_SESSION_TYPE") != u"wayland") {
    return false;
  }
  return WaylandConnection(wl_display_connect(nullptr), wl_display_disconnect) != nullptr;
}

bool xAnswers() {
  if (!qEnvironmentVariableIsSet("DISPLAY")) return false;
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  const bool answers = xcb_connection_has_error(connection) == 0;
  xcb_disconnect(connection);
  return answers;
}

bool qtHasWaylandPlugin() {
  for (const QString& folder : QCoreApplication::libraryPaths()) {
    const QDir platforms(folder + QStringLiteral("/platforms"));
    if (!platforms.entryList({QStringLiteral("libqwayland-*.so")}, QDir::Files).isEmpty()) {
      return true;
    }
  }
  return false;
}

}  // namespace

DisplayReach reachDisplay() {
  // With an X server Qt finds a display: X itself, or first Wayland in a Wayland session.
  if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || xAnswers()) return DisplayReach::kReachable;
  if (!waylandAnswers()) return DisplayReach::kNone;
  return qtHasWaylandPlugin() ? DisplayReach::kWaylandOnly : DisplayReach::kWaylandWithoutQtPlugin;
}

}  // namespace orv::platform
