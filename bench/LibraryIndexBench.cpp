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
//   build/bench/library_index_bench page FOLDER ALBUMS big-covers
//       the same, every album with its own 1500 px cover of about 1.5 MB, and the page
//       with the covers' small copies, as `orv --batch -r --index` makes them
//   build/bench/library_index_bench covers [ALBUMS [JOBS]]
//       the covers' small copies of ALBUMS (4,000) albums with 1500 px covers of about
//       1.5 MB (6 GB in a temporary folder, removed afterwards) made on JOBS (1) threads:
//       the processor time per album, the copies' sizes; then a run that finds them all
//       made, and one after ten covers changed
//
// The albums are "アルバム 0399" by "歌手 39" in "library/Artist 39/Album 0399/", 25
// tracks each, so that the word "0399" finds one album; "untagged" leaves them without
// title and artist, as untagged files are.

#include "batch/CoverCopies.h"
#include "batch/LibraryIndex.h"
#include "bench/ProcessMeasures.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixFolderLocks.h"
#include "platform/qtgui/QtPictureConverter.h"
#include "tests/support/Files.h"
#include "tracks/TagReading.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <cmath>
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

// The file system, counting the copies written.
class CountingFileSystem : public orv::platform::PosixFileSystem {
 public:
  void replaceFileAtomically(const QString& path, const QByteArray& content) override {
    if (path.endsWith(u".jpg")) {
      ++written;
      bytes += content.size();
    }
    PosixFileSystem::replaceFileAtomically(path, content);
  }
  std::atomic<int> written{0};
  std::atomic<qint64> bytes{0};
};

// The page as `orv --batch --index` writes it, with the covers' small copies made on
// `jobs` threads (none: without them).
void writePage(const QString& index, const std::vector<AlbumOutcome>& albums, int jobs = 0,
               orv::platform::FileSystem* files = nullptr) {
  orv::platform::PosixFileSystem posix;
  orv::platform::FileSystem& fileSystem = files ? *files : posix;
  orv::platform::PosixFolderLocks folderLocks;
  orv::platform::QtPictureConverter pictures;
  const orv::batch::CoverCopies covers(fileSystem, pictures, QStringLiteral(ORV_PROGRAM_DIR "/"),
                                       jobs);
  orv::batch::writeLibraryIndex(
      index, albums, fileSystem, folderLocks, [] { return true; }, jobs > 0 ? &covers : nullptr);
}

// A 1500 px cover of about 1.5 MB, as shops sell them: soft shapes of colour under the
// grain of a photograph, at quality 95.
QByteArray bigCover() {
  const int side = 1500;
  QImage image(side, side, QImage::Format_RGB32);
  QRandomGenerator random(42);
  for (int y = 0; y < side; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < side; ++x) {
      const double wave = std::sin(x / 90.0) * std::cos(y / 70.0);
      const int grain = static_cast<int>(random.bounded(80)) - 40;
      const auto channel = [&](double base) {
        return std::clamp(static_cast<int>(base) + grain, 0, 255);
      };
      line[x] =
          qRgb(channel(120 + 80 * wave + x / 20.0), channel(90 + 60 * std::sin((x + y) / 55.0)),
               channel(140 - y / 15.0 + 40 * wave));
    }
  }
  QByteArray jpeg;
  QBuffer out(&jpeg);
  out.open(QIODevice::WriteOnly);
  QImageWriter writer(&out, "jpeg");
  writer.setQuality(95);
  writer.write(image);
  return jpeg;
}

// Every album of `albums` with its own copy of `cover` as jacket.jpg.
void layOut(const std::vector<AlbumOutcome>& albums, const QByteArray& cover) {
  for (const AlbumOutcome& outcome : albums) {
    QDir().mkpath(outcome.album.folder);
    orv::test::writeFile(outcome.album.folder + "jacket.jpg", cover);
  }
}

int covers(int count, int jobs) {
  QTemporaryDir folder;
  const QString index = folder.path() + QStringLiteral("/index.html");
  const QByteArray cover = bigCover();
  const std::vector<AlbumOutcome> albums = madeUpAlbums(folder.path() + "/library", count);
  layOut(albums, cover);
  std::printf("%d albums, covers of %.2f MB, 1500 px; %d thread(s), load average %s\n", count,
              cover.size() / 1e6, jobs, qPrintable(orv::bench::loadAverage()));
  std::printf("%-26s %10s %12s %10s %10s\n", "run", "copies", "ms (processor)", "per album",
              "wall ms");
  const auto run = [&](const char* what) {
    CountingFileSystem fileSystem;
    const double before = orv::bench::processorMilliseconds();
    QElapsedTimer clock;
    clock.start();
    writePage(index, albums, jobs, &fileSystem);
    const double cpu = orv::bench::processorMilliseconds() - before;
    std::printf("%-26s %10d %12.0f %10.2f %10lld\n", what, fileSystem.written.load(), cpu,
                cpu / count, clock.elapsed());
    return fileSystem.bytes.load();
  };
  const qint64 bytes = run("first run");
  std::printf("copies: %.1f KB on average for an album (320 px and 640 px)\n",
              bytes / 1024.0 / count);
  const QString copies = orv::batch::coverCopiesFolder(index);
  const QStringList names = QDir(copies).entryList({"*.jpg"}, QDir::Files, QDir::Name);
  if (names.size() >= 2) {
    std::printf("one album's: %s %lld bytes, %s %lld bytes\n", qPrintable(names[0]),
                QFileInfo(copies + names[0]).size(), qPrintable(names[1]),
                QFileInfo(copies + names[1]).size());
  }
  run("second run");
  for (int a = 0; a < std::min(10, count); ++a) {
    orv::test::writeFile(albums[a].album.folder + "jacket.jpg", cover);
  }
  run("ten covers written again");
  return 0;
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

int page(const QString& root, int count, bool tagged, bool big) {
  const QString lib = root + QStringLiteral("/library");
  const std::vector<AlbumOutcome> albums = madeUpAlbums(lib, count, tagged);
  layOut(albums,
         big ? bigCover() : orv::test::readFile(QStringLiteral(ORV_PROGRAM_DIR "/jacket.jpg")));
  const QString index = root + QStringLiteral("/index.html");
  QFile::remove(index);
  writePage(index, albums, QThread::idealThreadCount());
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
    const bool big = args.size() >= 4 && args[3] == u"big-covers";
    if (count > 0) return page(QDir(args[1]).absolutePath(), count, tagged, big);
  } else if (!args.isEmpty() && args[0] == u"covers") {
    const int count = args.size() >= 2 ? args[1].toInt() : 4000;
    const int jobs = args.size() >= 3 ? args[2].toInt() : 1;
    if (count > 0 && jobs > 0) return covers(count, jobs);
  }
  std::fputs(
      "usage: library_index_bench write [ALBUMS…] | page FOLDER [ALBUMS "
      "[untagged|big-covers]] | covers [ALBUMS [JOBS]]\n",
      stderr);
  return 2;
}
