#pragma once

// A temporary album folder for the detail-source tests, and the audio they tag.

#include "platform/DetailSource.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <array>

namespace orv::test {

// One second of 44.1 kHz stereo at 128 kbps with an Info header, encoded once per run.
const QByteArray& shortMp3();

// The bytes this thread's read and pread calls have read so far (/proc/thread-self/io).
// Reading the counter itself counts a hundred bytes or so.
qint64 bytesReadByThisThread();

class DetailFolderFiles {
 public:
  DetailFolderFiles();

  // The folder, ending in "/".
  QString folder() const;
  // Writes `bytes` as `name` in the folder and returns its path.
  QString put(const QString& name, const QByteArray& bytes) const;
  // The artist, title, album title and play time of `name`, each asked of a fresh source
  // as tag reading asks them.
  std::array<QString, 4> details(const QString& name) const;

 private:
  QTemporaryDir dir_;
};

// The artist, title, album title and play time of `name` in `folder`.
std::array<QString, 4> detailsIn(platform::DetailFolder& folder, const QString& name);

}  // namespace orv::test
