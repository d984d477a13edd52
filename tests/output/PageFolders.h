#pragma once

// Real folders for page tests: a program folder with test templates and a cover, and an
// album folder, both in one temporary folder.

#include "platform/posix/PosixFileSystem.h"
#include "tests/support/Files.h"
#include "tracks/TrackTable.h"

#include <QByteArray>
#include <QDir>
#include <QTemporaryDir>

#include <initializer_list>

namespace orv::test {

struct Track {
  QString albumTitle, artist, fileName, title, duration;
};

class PageFolders {
 public:
  PageFolders() {
    QDir root(dir_.path());
    root.mkdir(QStringLiteral("program"));
    root.mkdir(QStringLiteral("album"));
    program = dir_.path() + QStringLiteral("/program/");
    album = dir_.path() + QStringLiteral("/album/");
    setTemplates("<head>\r\n", "</tail>\r\n");
    writeFile(program + QStringLiteral("jacket.jpg"), QByteArray("program cover"));
  }

  void setTemplates(const QByteArray& head, const QByteArray& tail) {
    writeFile(program + QStringLiteral("head.txt"), head);
    writeFile(program + QStringLiteral("tail.txt"), tail);
  }

  // A table of the tracks, record 0's folder being the album folder.
  TrackTable table(std::initializer_list<Track> tracks) const {
    TrackTable t;
    t.resize(Int16(tracks.size()));
    Int16 k = 0;
    for (const Track& track : tracks) {
      TrackRecord& r = t[k];
      r.folderPath = album;
      r.albumTitle = track.albumTitle;
      r.artist = track.artist;
      r.fileName = track.fileName;
      r.listedName = track.fileName;
      r.title = track.title;
      r.duration = track.duration;
      ++k;
    }
    return t;
  }

  QByteArray page() const { return readFile(album + QStringLiteral("disk.html")); }
  QStringList albumEntries() const {
    return QDir(album).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
  }

  QString program;
  QString album;
  platform::PosixFileSystem fileSystem;

 private:
  QTemporaryDir dir_;
};

}  // namespace orv::test
