// The largest album in the real track list, offscreen, as a build shows it: its rows,
// then its texts (showAlbum), and the event processing that brings the view up to date.
// Goal: < 100 ms.
//
//   build/bench/grid_bench [--benchmark_repetitions=5]

#include "app/ShownAlbum.h"
#include "platform/qt/QtTrackList.h"
#include "tests/support/Fakes.h"

#include <QApplication>
#include <QWidget>

#include <benchmark/benchmark.h>

namespace {

using namespace orv;

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
  platform::QtTrackList list(&window);
  list.view()->setGeometry(12, 116, 481, 257);
  window.show();
  const TrackTable table = largestAlbum();
  test::FakeFormControls fakes;
  const platform::FormControls controls{fakes.window,          fakes.buildButton,
                                        fakes.albumTitleLabel, fakes.albumArtistLabel,
                                        fakes.statusLabel,     list,
                                        fakes.openFileDialog};
  for (auto _ : state) {
    state.PauseTiming();
    list.show(std::vector<platform::ListedTrack>(static_cast<std::size_t>(before)));
    if (before > 1) showAlbum(controls, table, before);
    QApplication::processEvents();
    state.ResumeTiming();

    list.show(std::vector<platform::ListedTrack>(32766));
    showAlbum(controls, table, 32766);
    QApplication::processEvents();  // the view's update and the repaint
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
