#include "tests/platform/taglib/DetailFiles.h"

#include "platform/taglib/TagLibTrackDetails.h"
#include "tests/mp3/Mp3Files.h"
#include "tests/support/Files.h"

#include <QFile>

#include <stdexcept>

namespace orv::test {

const QByteArray& shortMp3() {
  static const QByteArray mp3 = encodeMp3(pcm(44100, 2, 1.0), 44100, 2, {"-b", "128"});
  return mp3;
}

qint64 bytesReadByThisThread() {
  QFile io(QStringLiteral("/proc/thread-self/io"));
  if (!io.open(QIODevice::ReadOnly)) throw std::runtime_error("no /proc/thread-self/io");
  const QByteArray all = io.readAll();
  const qsizetype at = all.indexOf("rchar:");
  return all.mid(at + 6, all.indexOf('\n', at) - at - 6).trimmed().toLongLong();
}

DetailFiles::DetailFiles() {
  if (!dir_.isValid()) throw std::runtime_error("no temporary folder");
}

QString DetailFiles::folder() const { return dir_.path() + "/"; }

QString DetailFiles::put(const QString& name, const QByteArray& bytes) const {
  const QString path = folder() + name;
  writeFile(path, bytes);
  return path;
}

platform::TrackDetails DetailFiles::details(const QString& name) const {
  platform::TrackDetails details =
      platform::TagLibTrackDetails(/*readAhead=*/false).read(folder() + name);
  for (text::TagText* text : {&details.title, &details.artist, &details.albumTitle}) {
    *text = text->alone();
  }
  return details;
}

}  // namespace orv::test
