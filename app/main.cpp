// The one place where the window's logic meets its realisations.

#include "app/Frm010_Orv.h"
#include "app/Module1.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/qt/EventGuard.h"
#include "platform/qt/QtMainWindow.h"
#include "platform/qt/QtOpenFileDialog.h"
#include "platform/qt/QtWindowSystem.h"
#include "platform/taglib/TagLibDetailSource.h"
#include "tracks/TrackTable.h"

#include <QApplication>

#include <memory>

int main(int argc, char* argv[]) {
  // Desktops find the window's menu entry and icon by these: the desktop file name
  // (Wayland's app id) and the application name (the class in X11's WM_CLASS, the
  // entry's StartupWMClass).
  QApplication::setApplicationName(QStringLiteral("Orv"));
  QApplication::setDesktopFileName(QStringLiteral(ORV_APP_ID));
  QApplication app(argc, argv);
  orv::platform::QtWindowSystem windowSystem(app);
  orv::platform::PosixFileSystem fileSystem;
  orv::platform::TagLibDetailSourceFactory detailSources;
  orv::TrackTable trackTable;

  std::unique_ptr<orv::platform::QtMainWindow> window;
  std::unique_ptr<orv::platform::QtOpenFileDialog> dialog;
  std::unique_ptr<orv::Frm010_Orv> form;
  auto mainWindow = [&]() -> orv::Frm010_Orv& {
    if (!form) {
      window = std::make_unique<orv::platform::QtMainWindow>(windowSystem);
      dialog = std::make_unique<orv::platform::QtOpenFileDialog>(window.get());
      orv::FormControls controls{*window,
                                 window->command1(),
                                 window->command3(),
                                 window->label(1),
                                 window->label(2),
                                 window->label(3),
                                 window->label(4),
                                 window->label(5),
                                 window->label(6),
                                 window->grid(),
                                 *dialog};
      orv::FormServices services{windowSystem, fileSystem, detailSources, trackTable,
                                 QApplication::applicationDirPath() + u'/'};
      form = std::make_unique<orv::Frm010_Orv>(controls, std::move(services));
      window->setEvents(form.get());
    }
    return *form;
  };

  // Start-up handles no error: one that reaches here gets the standard report.
  orv::platform::guarded(windowSystem, [&] { orv::Module1::Main(windowSystem, mainWindow); });
  return app.exec();
}
