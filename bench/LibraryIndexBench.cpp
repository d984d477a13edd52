// The library page of `orv --batch --index` for a large library, written by the program's
// own writer from made-up albums, so no MP3 file is needed.
//
//   build/bench/library_index_bench write [ALBUMS…]
//       writes the page for 4,000 and 10,000 albums (or ALBUMS) into a temporary folder:
//       the best time of 5 runs, and the page's size
//   build/bench/library_index_bench page FOLDER [ALBUMS [untagged]]
//       lays out ALBUMS (4,000) album folders below FOLDER/library, each with the default
//       cover, and writes their page FOLDER/index.html, as `orv --batch -r --index` does;
//       bench/library_index_page.js opens it in headless Chromium
//
// The albums are "アルバム 0399" by "歌手 39" in "library/Artist 39/Album 0399/", 25
// tracks each, so that the word "0399" finds one album; "untagged" leaves them without
// title and artist, as untagged files are.

#include "batch/LibraryIndex.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixFolderLocks.h"
#include "tests/support/Files.h"
#include "tracks/TagReading.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using orv::kNoAlbumTitle;
using orv::kNoArtist;
using orv::batch::AlbumOutcome;

QString albumFolder(const QString& lib, int a) {
  return QStringLiteral("%1/Artist %2/Album %3/").arg(lib).arg(a / 10).arg(a, 4, 10, QChar(u'0'));
}

std::vector<AlbumOutcome> madeUpAlbums(const QString& lib, int count, bool tagged = true) {
  std::vector<AlbumOutcome> albums(count);
  for (int a = 0; a < count; ++a) {
    albums[a].status = orv::batch::AlbumStatus::kBuilt;
    orv::album::Summary& album = albums[a].album;
    album.folder = albumFolder(lib, a);
    album.tracks = 25;
    album.milliseconds = 25 * 241000LL + a;
    album.texts.titleTagged = album.texts.artistTagged = tagged;
    album.texts.title =
        tagged ? QStringLiteral("アルバム %1").arg(a, 4, 10, QChar(u'0')) : kNoAlbumTitle;
    album.texts.artist = tagged ? QStringLiteral("歌手 %1").arg(a / 10) : kNoArtist;
  }
  return albums;
}

// The page as `orv --batch --index` writes it.
void writePage(const QString& index, const std::vector<AlbumOutcome>& albums) {
  orv::platform::PosixFileSystem fileSystem;
  orv::platform::PosixFolderLocks folderLocks;
  orv::batch::writeLibraryIndex(index, albums, fileSystem, folderLocks, [] { return true; });
}

int write(const std::vector<int>& counts) {
  QTemporaryDir folder;
  const QString index = folder.path() + QStringLiteral("/index.html");
  std::printf("%8s %12s %12s\n", "albums", "ms (best/5)", "bytes");
  for (const int count : counts) {
    const std::vector<AlbumOutcome> albums = madeUpAlbums(folder.path() + "/library", count);
    double best = 1e9;
    for (int r = 0; r < 5; ++r) {
      QElapsedTimer clock;
      clock.start();
      writePage(index, albums);
      best = std::min(best, clock.nsecsElapsed() / 1e6);
    }
    std::printf("%8d %12.1f %12lld\n", count, best, QFileInfo(index).size());
    std::fflush(stdout);
  }
  return 0;
}

int page(const QString& root, int count, bool tagged) {
  const QString lib = root + QStringLiteral("/library");
  const QByteArray cover = orv::test::readFile(QStringLiteral(ORV_PROGRAM_DIR "/jacket.jpg"));
  const std::vector<AlbumOutcome> albums = madeUpAlbums(lib, count, tagged);
  for (const AlbumOutcome& outcome : albums) {
    const QString& folder = outcome.album.folder;
    QDir().mkpath(folder);
    if (!QFile::exists(folder + "jacket.jpg")) orv::test::writeFile(folder + "jacket.jpg", cover);
  }
  const QString index = root + QStringLiteral("/index.html");
  QFile::remove(index);
  writePage(index, albums);
  std::printf("%s\n", qPrintable(index));
  return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments().mid(1);
  if (!args.isEmpty() && args[0] == u"write") {
    std::vector<int> counts;
    for (const QString& n : args.mid(1)) counts.push_back(n.toInt());
    if (counts.empty()) counts = {4000, 10000};
    if (std::all_of(counts.begin(), counts.end(), [](int n) { return n > 0; })) {
      return write(counts);
    }
  } else if (args.size() >= 2 && args[0] == u"page") {
    const int count = args.size() >= 3 ? args[2].toInt() : 4000;
    const bool tagged = args.size() < 4 || args[3] != u"untagged";
    if (count > 0) return page(QDir(args[1]).absolutePath(), count, tagged);
  }
  std::fputs("usage: library_index_bench write [ALBUMS…] | page FOLDER [ALBUMS [untagged]]\n",
             stderr);
  return 2;
}
