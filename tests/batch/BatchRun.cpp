#include "tests/batch/BatchRun.h"

#include "tests/mp3/Mp3Files.h"

#include <QProcessEnvironment>

#include <stdexcept>

namespace orv::test {

QByteArray track(const QString& title, const QString& album) {
  static const QByteArray audio = encodeMp3(pcm(22050, 1, 1.0), 22050, 1, {"-b", "32"});
  return id3v2Tag(3, {textFrame("TPE1", QStringLiteral("歌手"), Id3Encoding::kUtf16),
                      textFrame("TIT2", title, Id3Encoding::kUtf16),
                      textFrame("TALB", album, Id3Encoding::kUtf16)}) +
         audio;
}

void startOrv(QProcess& process, const QStringList& arguments, const QString& workingFolder,
              const QString& runtimeFolder) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(name);
  if (!runtimeFolder.isEmpty()) env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeFolder);
  process.setProcessEnvironment(env);
  process.setWorkingDirectory(workingFolder);
  process.start(QStringLiteral(ORV_EXECUTABLE), QStringList{QStringLiteral("--batch")} + arguments);
  if (!process.waitForStarted(10000)) throw std::runtime_error("orv --batch did not start");
}

Ran finished(QProcess& process) {
  if (!process.waitForFinished(60000)) throw std::runtime_error("orv --batch did not finish");
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          QString::fromUtf8(process.readAllStandardOutput()),
          QString::fromUtf8(process.readAllStandardError())};
}

Ran orv(const QStringList& arguments, const QString& workingFolder, const QString& runtimeFolder) {
  QProcess process;
  startOrv(process, arguments, workingFolder, runtimeFolder);
  return finished(process);
}

void copyTree(const QString& from, const QString& to) {
  if (QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-a"), from, to}) != 0) {
    throw std::runtime_error("cp -a failed");
  }
}

}  // namespace orv::test
