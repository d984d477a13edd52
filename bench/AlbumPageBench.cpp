// The album page of the largest album a build can hold: 32,766 tracks. Goal: < 50 ms.

#include "output/AlbumPage.h"
#include "platform/posix/PosixFileSystem.h"
#include "tests/support/Files.h"

#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using orv::Int16;
using orv::test::writeFile;

constexpr int kTracks = 32766;

// A program folder with templates of a realistic size, an album folder, and a table of
// Japanese and Latin texts as tags hold them.
struct Album {
  Album() {
    QDir(dir.path()).mkdir("program");
    QDir(dir.path()).mkdir("album");
    program = dir.path() + "/program/";
    album = dir.path() + "/album/";
    QByteArray head = "<html><head><meta charset=\"Shift_JIS\"></head><body>\r\n";
    for (int i = 0; i < 150; ++i)
      head += "<div class=\"line\">layout and style of the page</div>\r\n";
    head += "<script>\r\n";
    writeFile(program + "head.txt", head);
    QByteArray tail;
    for (int i = 0; i < 150; ++i) tail += "  list.appendChild(item(bg_name[i], tim[i]));\r\n";
    writeFile(program + "tail.txt", tail + "</script></body></html>\r\n");
    writeFile(program + "jacket.jpg", "cover");

    const QString titles[] = {"夜明けのスキャット", "Bohemian Rhapsody", "東京ラプソディ (Live)",
                              "Don't Stop Me Now", "さくら　～卒業の歌～"};
    const QString artists[] = {" 山田太郎 & The Tokyo Band ", "Queen", "藤山一郎"};
    table.resize(kTracks);
    for (int k = 0; k < kTracks; ++k) {
      orv::TrackRecord& r = table[k];
      r.folderPath = album;
      r.albumTitle = "ベスト・オブ・ジャパニーズ・ポップス 2024";
      r.artist = artists[k % 3];
      r.title = titles[k % 5];
      r.fileName = QString::number(k + 1).rightJustified(5, u'0') + "_" + r.title + ".mp3";
      r.listedName = r.fileName;
      r.duration =
          QString("0:%1:%2").arg(k % 60, 2, 10, QChar(u'0')).arg(k % 59, 2, 10, QChar(u'0'));
    }
  }

  QTemporaryDir dir;
  QString program, album;
  orv::TrackTable table;
};

// Builds the page but keeps it in memory: the cost of everything but the disk.
class PageInMemory : public orv::platform::PosixFileSystem {
 public:
  void replaceFileAtomically(const QString&, const QByteArray& content) override {
    size = content.size();
  }
  qsizetype size = 0;
};

void BM_WriteAlbumHtml(benchmark::State& state) {
  Album a;
  orv::platform::PosixFileSystem fs;
  for (auto _ : state) orv::WriteAlbumHtml(a.table, kTracks, a.program, fs);
  state.counters["page_bytes"] = static_cast<double>(QFileInfo(a.album + "disk.html").size());
}
BENCHMARK(BM_WriteAlbumHtml)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_BuildAlbumPageInMemory(benchmark::State& state) {
  Album a;
  PageInMemory fs;
  for (auto _ : state) orv::WriteAlbumHtml(a.table, kTracks, a.program, fs);
  state.counters["page_bytes"] = static_cast<double>(fs.size);
}
BENCHMARK(BM_BuildAlbumPageInMemory)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
