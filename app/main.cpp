// The one place where the program's logic meets its realisations: the window, or with
// "--batch" the command line.

#include "app/MainForm.h"
#include "app/Startup.h"
#include "batch/BatchCommand.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/qt/EventGuard.h"
#include "platform/qt/QtMainWindow.h"
#include "platform/qt/QtOpenFileDialog.h"
#include "platform/qt/QtWindowSystem.h"
#include "platform/taglib/TagLibDetailSource.h"
#include "tracks/TrackTable.h"

#include <QApplication>
#include <QCoreApplication>

#include <memory>

namespace {

// The batch needs no display and takes no single-instance guard: it may run on a server,
// and beside the window.
int runBatch(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  orv::platform::PosixFileSystem fileSystem;
  // The batch builds several albums at once (-j) and so keeps the disk and the processors
  // busy itself: its albums don't read ahead too.
  orv::platform::TagLibDetailSourceFactory detailSources(/*readAhead=*/false);
  return orv::batch::RunBatch(QCoreApplication::arguments().mid(2), fileSystem, detailSources,
                              QCoreApplication::applicationDirPath() + u'/');
}

}  // namespace

int main(int argc, char* argv[]) {
  if (orv::batch::isBatchCommand(argc, argv)) return runBatch(argc, argv);

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
  std::unique_ptr<orv::MainForm> form;
  auto mainForm = [&]() -> orv::MainForm& {
    if (!form) {
      window = std::make_unique<orv::platform::QtMainWindow>(windowSystem);
      dialog = std::make_unique<orv::platform::QtOpenFileDialog>(window.get());
      form = std::make_unique<orv::MainForm>(
          window->controls(*dialog),
          orv::FormServices{.windowSystem = windowSystem,
                            .fileSystem = fileSystem,
                            .detailSources = detailSources,
                            .trackTable = trackTable,
                            .programFolder = QApplication::applicationDirPath() + u'/'});
      window->setEvents(form.get());
    }
    return *form;
  };

  // Start-up handles no error: one that reaches here gets the standard report.
  orv::platform::guarded(windowSystem, [&] { orv::StartUp(windowSystem, mainForm); });
  return app.exec();
}
