// Reading the four details of 2,000 real files of about 150 KB each, warm cache, as the
// folder scan reads them (a fresh detail source per file): once for files with a
// Xing/Info header, once for files without one, which must be scanned frame by frame.
//
//   build/bench/detail_source_bench
//
// Counter "per_file" is the CPU time per file; "Time" is the elapsed time of 2,000 files
// (higher than CPU when other work shares the machine).

#include "platform/taglib/TagLibDetailSource.h"
#include "tests/mp3/Mp3Files.h"
#include "tests/support/Files.h"
#include "tracks/TagReading.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>
#include <stdexcept>

namespace {

using namespace orv;
using namespace orv::test;
using namespace Qt::StringLiterals;

constexpr int kFiles = 2000;

// 2,000 copies of one encoded file, each with its own tags: ID3v2.3 in UTF-16 or in
// Shift-JIS bytes marked Latin-1, and ID3v1 on every other one.
class Album {
 public:
  explicit Album(bool header) {
    if (!dir_.isValid()) throw std::runtime_error("no temporary folder");
    QStringList options{"-V", "2"};
    if (!header) options << "-t";
    const QByteArray audio = encodeMp3(pcm(44100, 2, 11.5), 44100, 2, options);
    table_.resize(kFiles);
    for (int i = 0; i < kFiles; ++i) {
      const QString n = QString::number(i + 1);
      std::vector<Id3v2Frame> frames;
      if (i % 2 == 0) {
        frames = {textFrame("TPE1", u"アーティスト "_s + n, Id3Encoding::kUtf16),
                  textFrame("TIT2", u"曲 \""_s + n + u"\""_s, Id3Encoding::kUtf16),
                  textFrame("TALB", u"アルバム"_s, Id3Encoding::kUtf16)};
      } else {
        frames = {rawLatin1Frame("TPE1", sjis(u"歌手 "_s + n)),
                  rawLatin1Frame("TIT2", sjis(u"題 "_s + n)),
                  rawLatin1Frame("TALB", sjis(u"盤"_s))};
      }
      QByteArray bytes = id3v2Tag(3, frames, 512) + audio;
      if (i % 2 == 1) bytes += id3v1Tag(("Track " + n).toLatin1(), "Artist", "Album");
      const QString name = QString("%1.mp3").arg(i + 1, 4, 10, QChar('0'));
      writeFile(dir_.filePath(name), bytes);
      table_[i].folderPath = dir_.path() + "/";
      table_[i].fileName = name;
    }
    fileBytes_ = audio.size();
  }

  TrackTable& table() { return table_; }
  qint64 fileBytes() const { return fileBytes_; }

 private:
  QTemporaryDir dir_;
  TrackTable table_;
  qint64 fileBytes_ = 0;
};

void readAll(Album& album, platform::DetailSourceFactory& factory) {
  for (int i = 0; i < kFiles; ++i) ReadTrackTags(album.table(), i, factory);
}

void ReadDetails(benchmark::State& state, bool header) {
  // One album at a time on disk: each is 300 MB.
  Album album(header);
  platform::TagLibDetailSourceFactory factory;
  readAll(album, factory);  // warms the cache
  if (album.table()[0].duration != "0:00:11") {
    state.SkipWithError("wrong play time");
    return;
  }
  for (auto _ : state) readAll(album, factory);
  state.counters["per_file"] =
      benchmark::Counter(double(state.iterations()) * kFiles,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["audio_KB"] = double(album.fileBytes()) / 1024;
}

BENCHMARK_CAPTURE(ReadDetails, with_xing_header, true)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK_CAPTURE(ReadDetails, without_header_scanned, false)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3);

}  // namespace

BENCHMARK_MAIN();
