// Reading the four details of 2,000 real files of about 150 KB each, warm cache, as the
// folder scan reads them (AlbumTagReading, file by file, the album's texts decided after
// the last): once for files with a Xing/Info header, once for files without one, which
// must be scanned frame by frame. And the cost of turning one 8-bit tag text into the
// text its writer meant, for every text of the labelled table, alone and in albums.
//
//   build/bench/track_details_bench
//
// ReadDetails: counter "per_file" is the CPU time per file; "Time" is the elapsed time of
// 2,000 files (higher than CPU when other work shares the machine).
// DecodeEightBitText: counters "median_us", "p90_us" and "max_us" are the cost of one
// text, over the texts of one kind; "texts" is their count.
// DecideAlbumTexts: the labelled albums of one tagger of one kind, each read as the scan
// reads it (every track's title, artist and album title added, the album decided, each
// text read), against each text decoded alone; counters "album_us" and "alone_us" are
// the processor time per text of each way, "decision_us" their difference (the album's
// share), over all the albums' texts: each field of each track as the program meets
// them, where the album reads a repeated text once, or (_distinct) each text once.

#include "platform/taglib/TagLibTrackDetails.h"
#include "tests/mp3/LabelledAlbums.h"
#include "tests/mp3/LabelledTexts.h"
#include "tests/mp3/Mp3Files.h"
#include "tests/support/Files.h"
#include "text/AlbumTexts.h"
#include "text/EightBitText.h"
#include "tracks/TagReading.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <stdexcept>
#include <vector>

namespace {

using namespace orv;
using namespace orv::test;
using namespace Qt::StringLiterals;

constexpr int kFiles = 2000;

// 2,000 copies of one encoded file, each with its own tags: ID3v2.3 in UTF-16, or marked
// Latin-1 and holding Shift-JIS, Windows-1252 or UTF-8 bytes; ID3v1 on every other one.
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
      if (i % 4 == 0) {
        frames = {textFrame("TPE1", u"アーティスト "_s + n, Id3Encoding::kUtf16),
                  textFrame("TIT2", u"曲 \""_s + n + u"\""_s, Id3Encoding::kUtf16),
                  textFrame("TALB", u"アルバム"_s, Id3Encoding::kUtf16)};
      } else if (i % 4 == 1) {
        frames = {rawLatin1Frame("TPE1", sjis(u"歌手 "_s + n)),
                  rawLatin1Frame("TIT2", sjis(u"題 "_s + n)),
                  rawLatin1Frame("TALB", sjis(u"盤"_s))};
      } else {
        const auto bytes = [&](const QString& text) {
          return i % 4 == 2 ? windows1252(text) : text.toUtf8();
        };
        frames = {rawLatin1Frame("TPE1", bytes(u"Hélène Ségara "_s + n)),
                  rawLatin1Frame("TIT2", bytes(u"L’amour est un soleil "_s + n)),
                  rawLatin1Frame("TALB", bytes(u"Cœur de verre"_s))};
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

void readAll(Album& album, platform::TrackDetailsReader& reader) {
  AlbumTagReading reading;
  for (int i = 0; i < kFiles; ++i) reading.read(album.table(), i, reader);
  reading.store(album.table());
}

void ReadDetails(benchmark::State& state, bool header) {
  // One album at a time on disk: each is 300 MB.
  Album album(header);
  platform::TagLibTrackDetails reader;
  readAll(album, reader);  // warms the cache
  if (album.table()[0].duration != "0:00:11") {
    state.SkipWithError("wrong play time");
    return;
  }
  for (auto _ : state) readAll(album, reader);
  state.counters["per_file"] =
      benchmark::Counter(double(state.iterations()) * kFiles,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["audio_KB"] = double(album.fileBytes()) / 1024;
}

// Every text of one kind in the labelled table, each decoded 16 times per round and timed
// alone, so the counters give the spread over texts, not only their mean.
void DecodeEightBitText(benchmark::State& state, TextLabel label, bool asUtf8) {
  std::vector<QByteArray> texts;
  for (const LabelledText& entry : labelledTexts()) {
    if (entry.label == label) texts.push_back(asUtf8 ? entry.text.toUtf8() : tagBytes(entry));
  }
  constexpr int kRepeat = 16;
  std::vector<double> nanoseconds(texts.size());
  for (auto _ : state) {
    for (size_t i = 0; i < texts.size(); ++i) {
      const auto start = std::chrono::steady_clock::now();
      for (int r = 0; r < kRepeat; ++r) {
        benchmark::DoNotOptimize(text::decodeEightBitText(texts[i], text::EightBitField::kId3v2));
      }
      nanoseconds[i] +=
          std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start)
              .count();
    }
  }
  for (double& ns : nanoseconds) ns /= double(state.iterations()) * kRepeat;
  std::sort(nanoseconds.begin(), nanoseconds.end());
  const auto at = [&](double q) {
    return nanoseconds[size_t(q * (nanoseconds.size() - 1))] / 1000;
  };
  state.counters["median_us"] = at(0.5);
  state.counters["p90_us"] = at(0.9);
  state.counters["max_us"] = at(1.0);
  state.counters["texts"] = double(texts.size());
}

// This thread's processor time: other work on the machine doesn't count.
double threadNanoseconds() {
  timespec t{};
  ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) * 1e9 + double(t.tv_nsec);
}

// The labelled albums of one tagger of kind `label`, each read as a whole many times, and
// each text alone as often: every field of every track, as the scan meets them (the
// album's title and artist on every track), or with `distinct` each text of the album once.
void DecideAlbumTexts(benchmark::State& state, TextLabel label, bool distinct) {
  std::vector<std::vector<text::TagText>> albums;
  std::size_t texts = 0;
  for (const LabelledAlbum& album : labelledAlbums()) {
    if (album.label != label || !album.oneTagger()) continue;
    std::vector<text::TagText>& fields = albums.emplace_back();
    for (const TaggedTrack& track : taggedTracks(album, text::EightBitField::kId3v2)) {
      for (const text::TagText& field : {track.title.tag, track.artist.tag, track.album.tag}) {
        if (!distinct || std::find(fields.begin(), fields.end(), field) == fields.end()) {
          fields.push_back(field);
        }
      }
    }
    texts += fields.size();
  }
  constexpr int kRepeat = 16;
  double albumNs = 0, aloneNs = 0;
  for (auto _ : state) {
    const double start = threadNanoseconds();
    for (int r = 0; r < kRepeat; ++r) {
      for (const auto& fields : albums) {
        text::AlbumTexts album;
        for (const text::TagText& field : fields) album.add(field);
        album.decide();
        for (const text::TagText& field : fields) benchmark::DoNotOptimize(album.read(field));
      }
    }
    const double middle = threadNanoseconds();
    for (int r = 0; r < kRepeat; ++r) {
      for (const auto& fields : albums) {
        for (const text::TagText& field : fields) benchmark::DoNotOptimize(field.alone());
      }
    }
    albumNs += middle - start;
    aloneNs += threadNanoseconds() - middle;
  }
  const double perText = 1000.0 * double(state.iterations()) * kRepeat * double(texts);
  state.counters["album_us"] = albumNs / perText;
  state.counters["alone_us"] = aloneNs / perText;
  state.counters["decision_us"] = (albumNs - aloneNs) / perText;
  state.counters["texts"] = double(texts);
}

BENCHMARK_CAPTURE(DecodeEightBitText, windows1252, TextLabel::kWindows1252, false);
BENCHMARK_CAPTURE(DecodeEightBitText, shift_jis, TextLabel::kCp932, false);
BENCHMARK_CAPTURE(DecodeEightBitText, windows1252_texts_as_utf8, TextLabel::kWindows1252, true);
BENCHMARK_CAPTURE(DecodeEightBitText, shift_jis_texts_as_utf8, TextLabel::kCp932, true);
BENCHMARK_CAPTURE(DecodeEightBitText, korean, TextLabel::kCp949, false);
BENCHMARK_CAPTURE(DecodeEightBitText, simplified_chinese, TextLabel::kGbk, false);
BENCHMARK_CAPTURE(DecodeEightBitText, traditional_chinese, TextLabel::kBig5, false);
BENCHMARK_CAPTURE(DecodeEightBitText, windows1251, TextLabel::kWindows1251, false);
BENCHMARK_CAPTURE(DecodeEightBitText, windows1250, TextLabel::kWindows1250, false);

BENCHMARK_CAPTURE(DecideAlbumTexts, windows1252, TextLabel::kWindows1252, false);
BENCHMARK_CAPTURE(DecideAlbumTexts, windows1252_distinct, TextLabel::kWindows1252, true);
BENCHMARK_CAPTURE(DecideAlbumTexts, shift_jis, TextLabel::kCp932, false);
BENCHMARK_CAPTURE(DecideAlbumTexts, shift_jis_distinct, TextLabel::kCp932, true);
BENCHMARK_CAPTURE(DecideAlbumTexts, utf8, TextLabel::kUtf8, false);
BENCHMARK_CAPTURE(DecideAlbumTexts, utf8_distinct, TextLabel::kUtf8, true);
BENCHMARK_CAPTURE(DecideAlbumTexts, korean, TextLabel::kCp949, false);
BENCHMARK_CAPTURE(DecideAlbumTexts, korean_distinct, TextLabel::kCp949, true);
BENCHMARK_CAPTURE(DecideAlbumTexts, simplified_chinese, TextLabel::kGbk, false);
BENCHMARK_CAPTURE(DecideAlbumTexts, simplified_chinese_distinct, TextLabel::kGbk, true);
BENCHMARK_CAPTURE(DecideAlbumTexts, traditional_chinese, TextLabel::kBig5, false);
BENCHMARK_CAPTURE(DecideAlbumTexts, traditional_chinese_distinct, TextLabel::kBig5, true);
BENCHMARK_CAPTURE(DecideAlbumTexts, windows1251, TextLabel::kWindows1251, false);
BENCHMARK_CAPTURE(DecideAlbumTexts, windows1251_distinct, TextLabel::kWindows1251, true);
BENCHMARK_CAPTURE(DecideAlbumTexts, windows1250, TextLabel::kWindows1250, false);
BENCHMARK_CAPTURE(DecideAlbumTexts, windows1250_distinct, TextLabel::kWindows1250, true);

BENCHMARK_CAPTURE(ReadDetails, with_xing_header, true)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK_CAPTURE(ReadDetails, without_header_scanned, false)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3);

}  // namespace

BENCHMARK_MAIN();
