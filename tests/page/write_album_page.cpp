// Writes an album page with the program's own writer, for the browser test: the test
// makes the MP3 files, this tool makes disk.html (and the cover) beside them.
//
//   write_album_page PROGRAM_FOLDER/ ALBUM_FOLDER/ tracks.tsv
//
// tracks.tsv is UTF-8, one track per line in table order, five fields separated by tabs:
// file name, artist, title, album title, duration ("0:03:25"). Texts are taken as they
// stand, untrimmed, as the track table would hold them after a scan.

#include "core/RuntimeError.h"
#include "output/AlbumPage.h"
#include "platform/posix/PosixFileSystem.h"
#include "tracks/TrackTable.h"

#include <QFile>
#include <QString>
#include <QStringList>

#include <cstdio>

namespace {

QStringList readLines(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    throw orv::RuntimeError(orv::ErrorCode::kFileNotFound, path + QStringLiteral(": 開けません。"));
  }
  QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
  while (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  return lines;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 4) {
    std::fputs("usage: write_album_page PROGRAM_FOLDER/ ALBUM_FOLDER/ tracks.tsv\n", stderr);
    return 2;
  }
  try {
    const QString programFolder = QString::fromLocal8Bit(argv[1]);
    const QString albumFolder = QString::fromLocal8Bit(argv[2]);
    const QStringList lines = readLines(QString::fromLocal8Bit(argv[3]));

    orv::TrackTable table;
    table.resize(orv::Int16(lines.size()));
    for (int i = 0; i < lines.size(); ++i) {
      const QStringList fields = lines[i].split(u'\t');
      if (fields.size() != 5) {
        std::fprintf(stderr, "line %d: want 5 tab-separated fields, got %d\n", i + 1,
                     int(fields.size()));
        return 2;
      }
      orv::TrackRecord& record = table[orv::Int16(i)];
      record.folderPath = albumFolder;
      record.fileName = fields[0];
      record.listedName = fields[0];
      record.artist = fields[1];
      record.title = fields[2];
      record.albumTitle = fields[3];
      record.duration = fields[4];
    }
    orv::platform::PosixFileSystem fileSystem;
    orv::WriteAlbumHtml(table, table.count(), programFolder, fileSystem);
  } catch (const orv::RuntimeError& e) {
    std::fprintf(stderr, "error %d: %s\n", e.number(), e.description().toUtf8().constData());
    return 1;
  }
  return 0;
}
