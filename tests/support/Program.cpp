#include "tests/support/Program.h"

#include <stdexcept>

namespace orv::test {

void startWithoutDisplay(QProcess& process, const QString& program, const QStringList& arguments,
                         const QString& workingFolder, const QProcessEnvironment& environment) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(name);
  for (const QString& name : environment.keys()) env.insert(name, environment.value(name));
  process.setProcessEnvironment(env);
  process.setWorkingDirectory(workingFolder);
  process.start(program, arguments);
  if (!process.waitForStarted(10000)) {
    throw std::runtime_error("did not start: " + arguments.join(u' ').toStdString());
  }
}

Ran finished(QProcess& process) {
  if (!process.waitForFinished(60000)) {
    throw std::runtime_error("did not finish: " + process.arguments().join(u' ').toStdString());
  }
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          QString::fromUtf8(process.readAllStandardOutput()),
          QString::fromUtf8(process.readAllStandardError())};
}

Ran runWithoutDisplay(const QString& program, const QStringList& arguments,
                      const QString& workingFolder, const QProcessEnvironment& environment) {
  QProcess process;
  startWithoutDisplay(process, program, arguments, workingFolder, environment);
  return finished(process);
}

}  // namespace orv::test
