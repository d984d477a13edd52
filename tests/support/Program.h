#pragma once

// The real program run as a process, as users run it from a terminal.

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace orv::test {

struct Ran {
  int exitCode = -1;  // -1: ended by a signal (an abort, a crash) or never ended
  QString out;
  QString err;
};

// Starts `program` with `arguments` in `workingFolder`, without a display or a choice of
// Qt's platform (DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM are removed from this
// process's environment; `environment` then adds to it).
void startWithoutDisplay(QProcess& process, const QString& program, const QStringList& arguments,
                         const QString& workingFolder,
                         const QProcessEnvironment& environment = QProcessEnvironment());

// What a started process did, once it has ended (within a minute).
Ran finished(QProcess& process);

// Both: a whole run.
//
//   const Ran ran = runWithoutDisplay(ORV_EXECUTABLE, {"--version"}, QDir::tempPath());
//   EXPECT_EQ(ran.out, "orv 1.0\n");
Ran runWithoutDisplay(const QString& program, const QStringList& arguments,
                      const QString& workingFolder,
                      const QProcessEnvironment& environment = QProcessEnvironment());

}  // namespace orv::test
