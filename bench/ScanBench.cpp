// How long the scan of a large album folder takes: one listing (read, filter, sort) and
// both passes of a build over folders of empty files whose names hold spaces.

#include "platform/posix/PosixFileSystem.h"
#include "tracks/FolderScan.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

namespace {

void makeFiles(const QString& folder, int n) {
  for (int i = 0; i < n; ++i) {
    const QByteArray path =
        QFile::encodeName(folder) + "Track " + QByteArray::number(i) + " of the album.mp3";
    ::close(::open(path.constData(), O_WRONLY | O_CREAT, 0644));
  }
}

void BM_List(benchmark::State& state) {
  QTemporaryDir dir;
  const QString folder = dir.path() + u'/';
  makeFiles(folder, static_cast<int>(state.range(0)));
  orv::platform::PosixFileSystem fs;
  for (auto _ : state) {
    auto listing = fs.list(folder + QStringLiteral("*.mp3"));
    int n = 0;
    while (!listing->next().isEmpty()) ++n;
    benchmark::DoNotOptimize(n);
  }
}
BENCHMARK(BM_List)->Arg(20)->Arg(1000)->Arg(32767)->Unit(benchmark::kMillisecond);

// Tag reading that finds no file, so that the scan is measured on its own.
struct NoTrackDetails : orv::platform::TrackDetailsReader {
  orv::platform::TrackDetails read(const QString&) override { return {}; }
};

// A folder of state.range(0) files and what a scan of it needs; 32,766 is the largest
// album.
struct ScanSetUp {
  explicit ScanSetUp(const benchmark::State& state) {
    makeFiles(folder, static_cast<int>(state.range(0)));
  }
  QTemporaryDir dir;
  const QString folder = dir.path() + u'/';
  orv::platform::PosixFileSystem fs;
  NoTrackDetails trackDetails;
  orv::ScanContext context{.fileSystem = fs, .trackDetails = trackDetails};
};

void BM_CountingPass(benchmark::State& state) {
  ScanSetUp s(state);
  for (auto _ : state) benchmark::DoNotOptimize(orv::CountMp3Files(s.folder, s.context));
}
BENCHMARK(BM_CountingPass)->Arg(20)->Arg(1000)->Arg(32766)->Unit(benchmark::kMillisecond);

// Both passes, tags aside; the first build renames every file, the later ones find nothing
// to rename.
void BM_BuildScan(benchmark::State& state) {
  ScanSetUp s(state);
  for (auto _ : state) {
    const orv::Int16 count = orv::CountMp3Files(s.folder, s.context);
    benchmark::DoNotOptimize(orv::FillTrackTable(s.folder, count, s.context));
  }
}
BENCHMARK(BM_BuildScan)->Arg(20)->Arg(1000)->Arg(32766)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
