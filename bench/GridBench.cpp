// The largest album in the real grid, offscreen: SetUpTrackGrid + FillTrackGrid of
// 32,766 rows, and the event processing that brings the view up to date. Goal: < 100 ms.
//
//   build/bench/grid_bench [--benchmark_repetitions=5]

#include "output/TrackGrid.h"
#include "platform/qt/QtGrid.h"

#include <QApplication>
#include <QWidget>

#include <benchmark/benchmark.h>

namespace {

using namespace orv;

struct NullLabel : platform::Label {
  QString text;
  void setCaption(const QString& caption) override { text = caption; }
  QString caption() const override { return text; }
};

TrackTable largestAlbum() {
  TrackTable table;
  table.resize(32766);
  for (Int16 i = 0; i < 32766; ++i) {
    table[i].title = QStringLiteral(" 曲名その%1 (Remastered) ").arg(i.value() + 1);
    table[i].duration = QStringLiteral("0:%1:%2")
                            .arg(i.value() % 60, 2, 10, QChar('0'))
                            .arg(i.value() % 59, 2, 10, QChar('0'));
  }
  table[0].artist = QStringLiteral("アーティスト");
  table[0].albumTitle = QStringLiteral("アルバム");
  return table;
}

// Argument: the rows of the album shown before (1: after start-up; 32766: a rebuild).
void SetUpAndFillLargestAlbum(benchmark::State& state) {
  const int before = int(state.range(0));
  QWidget window;
  window.resize(624, 416);
  platform::QtGrid grid(&window);
  grid.view()->setGeometry(12, 116, 481, 257);
  window.show();
  const TrackTable table = largestAlbum();
  NullLabel albumTitle, albumArtist;
  for (auto _ : state) {
    state.PauseTiming();
    SetUpTrackGrid(grid, before);
    if (before > 1) FillTrackGrid(grid, albumTitle, albumArtist, table, before);
    QApplication::processEvents();
    state.ResumeTiming();

    SetUpTrackGrid(grid, 32766);
    FillTrackGrid(grid, albumTitle, albumArtist, table, 32766);
    QApplication::processEvents();  // the batched notification and the repaint
  }
}
BENCHMARK(SetUpAndFillLargestAlbum)->Arg(1)->Arg(32766)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
