// The one place where the program's logic meets its realisations: the window, or with
// "--batch" the command line.

#include "app/MainForm.h"
#include "app/ProgramCommand.h"
#include "app/Startup.h"
#include "batch/BatchCommand.h"
#include "core/CommandLine.h"
#include "core/Console.h"
#include "output/PageTemplates.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixFolderLocks.h"
#include "platform/posix/PosixFolderWatch.h"
#include "platform/posix/PosixInterruption.h"
#include "platform/qt/DisplayProbe.h"
#include "platform/qt/EventGuard.h"
#include "platform/qt/QtMainWindow.h"
#include "platform/qt/QtOpenFileDialog.h"
#include "platform/qt/QtWindowSystem.h"
#include "platform/qtgui/QtPictureConverter.h"
#include "platform/sqlite/SqliteBuildRecords.h"
#include "platform/taglib/TagLibPictures.h"
#include "platform/taglib/TagLibTrackDetails.h"

#include <QApplication>
#include <QCoreApplication>

#include <memory>

namespace {

// The batch needs no display and takes no single-instance guard: it may run on a server,
// and beside the window. Its builds and the window's take the same album locks.
int runBatch(int argc, char* argv[], const QStringList& arguments) {
  QCoreApplication app(argc, argv);
  orv::platform::PosixInterruption interruption;
  orv::platform::PosixFileSystem fileSystem;
  // The batch builds several albums at once (-j) and so keeps the disk and the processors
  // busy itself: its albums don't read ahead too.
  orv::platform::TagLibTrackDetails trackDetails(/*readAhead=*/false);
  orv::platform::PosixFolderLocks folderLocks;
  orv::platform::TagLibPictures tagPictures;
  orv::platform::QtPictureConverter pictures;
  const QString programFolder = QCoreApplication::applicationDirPath() + u'/';
  const orv::PageTemplates templates = orv::PageTemplates::load(programFolder, fileSystem);
  // Opened by the run, once it knows it builds albums; followed only with --watch.
  orv::platform::SqliteBuildRecords records(orv::platform::SqliteBuildRecords::inUserCache());
  orv::platform::PosixFolderWatch folderWatch(fileSystem, interruption.wakeDescriptor());
  return orv::batch::RunBatch(arguments,
                              {.album = {.fileSystem = fileSystem,
                                         .trackDetails = trackDetails,
                                         .folderLocks = folderLocks,
                                         .programFolder = programFolder,
                                         .templates = &templates},
                               .interruption = interruption,
                               .tagPictures = tagPictures,
                               .pictures = pictures},
                              {.records = records, .watch = folderWatch});
}

// Without a display Qt would abort: say so, and name the way that needs none.
bool displayReachable() {
  using orv::platform::DisplayReach;
  switch (orv::platform::reachDisplay()) {
    case DisplayReach::kReachable:
      return true;
    case DisplayReach::kWaylandOnly:
      qputenv("QT_QPA_PLATFORM", "wayland");
      return true;
    case DisplayReach::kWaylandWithoutQtPlugin:
      orv::reportError(QStringLiteral(
          "Wayland の画面に接続する Qt のプラグイン（Debian では qt6-wayland）がないため、"
          "ウィンドウを開けません。画面なしでアルバムを作るには orv --batch を使ってください。"));
      return false;
    case DisplayReach::kNone:
      break;
  }
  orv::reportError(QStringLiteral(
      "画面（X や Wayland）に接続できないため、ウィンドウを開けません。"
      "画面なしでアルバムを作るには orv --batch を使ってください（orv --batch --help）。"));
  return false;
}

int runWindow(int argc, char* argv[]) {
  if (!displayReachable()) return orv::kExitFailed;
  // Desktops find the window's menu entry and icon by these: the desktop file name
  // (Wayland's app id) and the application name (the class in X11's WM_CLASS, the
  // entry's StartupWMClass).
  QApplication::setApplicationName(QStringLiteral("Orv"));
  QApplication::setDesktopFileName(QStringLiteral(ORV_APP_ID));
  QApplication app(argc, argv);
  orv::platform::QtWindowSystem windowSystem(app);
  orv::platform::PosixFileSystem fileSystem;
  orv::platform::TagLibTrackDetails trackDetails;
  orv::platform::PosixFolderLocks folderLocks;
  const orv::platform::TitleBar titleBar = orv::platform::desktopDrawsTitleBars()
                                               ? orv::platform::TitleBar::kDesktop
                                               : orv::platform::TitleBar::kDrawn;

  std::unique_ptr<orv::platform::QtMainWindow> window;
  std::unique_ptr<orv::platform::QtOpenFileDialog> dialog;
  std::unique_ptr<orv::MainForm> form;
  auto mainForm = [&]() -> orv::MainForm& {
    if (!form) {
      window = std::make_unique<orv::platform::QtMainWindow>(windowSystem, titleBar);
      dialog = std::make_unique<orv::platform::QtOpenFileDialog>(window.get());
      form = std::make_unique<orv::MainForm>(
          window->controls(*dialog),
          orv::FormServices{.windowSystem = windowSystem,
                            .album = {.fileSystem = fileSystem,
                                      .trackDetails = trackDetails,
                                      .folderLocks = folderLocks,
                                      .programFolder = QApplication::applicationDirPath() + u'/'}});
      window->setEvents(form.get());
    }
    return *form;
  };

  // Start-up handles no error: one that reaches here gets the standard report.
  orv::platform::guarded(windowSystem, [&] { orv::StartUp(windowSystem, mainForm); });
  return app.exec();
}

}  // namespace

int main(int argc, char* argv[]) {
  // Decoded as QCoreApplication decodes them; read before any application exists, so
  // that --help and a mistake need no display.
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);

  const orv::ProgramCommand command = orv::readProgramCommand(arguments);
  switch (command.kind) {
    case orv::ProgramCommand::kHelp:
      orv::writeOut(orv::programHelp());
      return orv::kExitDone;
    case orv::ProgramCommand::kVersion:
      orv::writeOut(orv::versionLine() + u'\n');
      return orv::kExitDone;
    case orv::ProgramCommand::kUsageError:
      return orv::usageError(command.error, QStringLiteral("orv --help"));
    case orv::ProgramCommand::kBatch:
      return runBatch(argc, argv, command.batchArguments);
    case orv::ProgramCommand::kWindow:
      break;
  }
  return runWindow(argc, argv);
}
