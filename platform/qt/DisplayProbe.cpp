#include "platform/qt/DisplayProbe.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>

#include <wayland-client.h>
#include <xcb/xcb.h>

#include <cstring>
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

void noteGlobal(void* data, wl_registry*, uint32_t, const char* interface, uint32_t) {
  if (std::strcmp(interface, "zxdg_decoration_manager_v1") == 0) *static_cast<bool*>(data) = true;
}
void ignoreRemoval(void*, wl_registry*, uint32_t) {}

// Whether the compositor lists the protocol by which Qt asks it to decorate windows.
bool compositorDecorates() {
  const WaylandConnection display(wl_display_connect(nullptr), wl_display_disconnect);
  if (!display) return false;
  bool decorates = false;
  static const wl_registry_listener listener{noteGlobal, ignoreRemoval};
  wl_registry* registry = wl_display_get_registry(display.get());
  wl_registry_add_listener(registry, &listener, &decorates);
  wl_display_roundtrip(display.get());
  wl_registry_destroy(registry);
  return decorates;
}

}  // namespace

DisplayReach reachDisplay() {
  // With an X server Qt finds a display: X itself, or first Wayland in a Wayland session.
  if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || xAnswers()) return DisplayReach::kReachable;
  if (!waylandAnswers()) return DisplayReach::kNone;
  return qtHasWaylandPlugin() ? DisplayReach::kWaylandOnly : DisplayReach::kWaylandWithoutQtPlugin;
}

bool desktopDrawsTitleBars() {
  return QGuiApplication::platformName() != u"wayland" || compositorDecorates();
}

}  // namespace orv::platform
