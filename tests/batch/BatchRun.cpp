#include "tests/batch/BatchRun.h"

#include "tests/mp3/Mp3Files.h"

#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <stdexcept>

namespace orv::test {

const QByteArray& secondOfAudio() {
  static const QByteArray audio = encodeMp3(pcm(22050, 1, 1.0), 22050, 1, {"-b", "32"});
  return audio;
}

QByteArray track(const QString& title, const QString& album) {
  return id3v2Tag(3, {textFrame("TPE1", QStringLiteral("歌手"), Id3Encoding::kUtf16),
                      textFrame("TIT2", title, Id3Encoding::kUtf16),
                      textFrame("TALB", album, Id3Encoding::kUtf16)}) +
         secondOfAudio();
}

void startOrv(QProcess& process, const QStringList& arguments, const QString& workingFolder,
              const QString& runtimeFolder, const QString& cacheFolder) {
  static const QTemporaryDir sharedCache;
  QProcessEnvironment env;
  if (!runtimeFolder.isEmpty()) env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeFolder);
  env.insert(QStringLiteral("XDG_CACHE_HOME"),
             cacheFolder.isEmpty() ? sharedCache.path() : cacheFolder);
  startWithoutDisplay(process, QStringLiteral(ORV_EXECUTABLE),
                      QStringList{QStringLiteral("--batch")} + arguments, workingFolder, env);
}

Ran orv(const QStringList& arguments, const QString& workingFolder, const QString& runtimeFolder,
        const QString& cacheFolder) {
  QProcess process;
  startOrv(process, arguments, workingFolder, runtimeFolder, cacheFolder);
  return finished(process);
}

void copyTree(const QString& from, const QString& to) {
  if (QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-a"), from, to}) != 0) {
    throw std::runtime_error("cp -a failed");
  }
}

}  // namespace orv::test
