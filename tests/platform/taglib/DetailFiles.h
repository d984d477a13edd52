#pragma once

// A temporary album folder for the tests of tag reading, and the audio they tag.

#include "platform/TrackDetails.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <ostream>

namespace orv::text {

// Texts as they are, each 8-bit value as its bytes in brackets.
inline void PrintTo(const TagText& text, std::ostream* os) {
  *os << '"'
      << text.read([](const EightBitValue& value) {
               return u'[' + QString::fromLatin1(value.bytes.toHex(' ')) + u']';
             })
             .toStdString()
      << '"';
}

}  // namespace orv::text

namespace orv::platform {

inline void PrintTo(const TrackDetails& d, std::ostream* os) {
  *os << "{title ";
  text::PrintTo(d.title, os);
  *os << ", artist ";
  text::PrintTo(d.artist, os);
  *os << ", album ";
  text::PrintTo(d.albumTitle, os);
  *os << ", " << d.playTime.toStdString() << "}";
}

}  // namespace orv::platform

namespace orv::test {

// One second of 44.1 kHz stereo at 128 kbps with an Info header, encoded once per run.
const QByteArray& shortMp3();

// The bytes this thread's read and pread calls have read so far (/proc/thread-self/io).
// Reading the counter itself counts a hundred bytes or so.
qint64 bytesReadByThisThread();

class DetailFiles {
 public:
  DetailFiles();

  // The folder, ending in "/".
  QString folder() const;
  // Writes `bytes` as `name` in the folder and returns its path.
  QString put(const QString& name, const QByteArray& bytes) const;
  // The details of `name`, as the program's reader, without read-ahead, reads them, with
  // each 8-bit value decided alone (TagText::alone), as a track alone in its album.
  platform::TrackDetails details(const QString& name) const;

 private:
  QTemporaryDir dir_;
};

}  // namespace orv::test
