#include "platform/qt/QtGrid.h"

#include "core/RuntimeError.h"
#include "output/TrackGrid.h"
#include "platform/qt/GridModel.h"
#include "tests/support/Errors.h"
#include "tests/support/Fakes.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QHeaderView>
#include <QSignalSpy>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <utility>

namespace orv::platform {
namespace {

struct GridFixture : testing::Test {
  QWidget window;
  QtGrid grid{&window};
  test::FakeLabel albumTitle, albumArtist;

  // An album of n tracks titled " <title> 1 " to " <title> n ".
  TrackTable album(int n, const QString& title = QStringLiteral("曲")) {
    TrackTable table;
    table.resize(n);
    for (Int16 i = 0; i < n; ++i) {
      table[i].title = QStringLiteral(" %1 %2 ").arg(title).arg(i.value() + 1);
      table[i].duration = QStringLiteral("0:0%1:00").arg(i.value() % 10);
    }
    table[0].artist = "Artist";
    table[0].albumTitle = "Album";
    return table;
  }
  QHeaderView* top() const { return grid.view()->horizontalHeader(); }
  QHeaderView* side() const { return grid.view()->verticalHeader(); }
  QVariant header(Qt::Orientation o, int section, int role = Qt::DisplayRole) const {
    return grid.model().headerData(section, o, role);
  }
};

TEST_F(GridFixture, ModelStaysConsistentThroughBuildsOfEverySize) {
  QAbstractItemModelTester tester(&grid.model(),
                                  QAbstractItemModelTester::FailureReportingMode::Fatal);
  for (int n : {1, 10, 3, 0, 250, 1}) {
    SetUpTrackGrid(grid, n);
    QApplication::processEvents();
    if (n > 0) {
      TrackTable table = album(n);
      FillTrackGrid(grid, albumTitle, albumArtist, table, n);
    }
    QApplication::processEvents();
    ASSERT_EQ(grid.model().rowCount(), n + 1);
    ASSERT_EQ(grid.model().columnCount(), 7);
  }
  grid.Clear();
  QApplication::processEvents();
}

// What the view shows of a cell: row 0 and column 0 through the headers.
struct Shown {
  QString text;
  Qt::Alignment alignment;
  bool operator==(const Shown&) const = default;
};

void PrintTo(const Shown& s, std::ostream* os) {
  *os << '"' << s.text.toStdString() << "\" aligned " << int(s.alignment);
}

TEST_F(GridFixture, TenThenThreeThenNoTracksLeaveOnlyWhatTheLastBuildWrote) {
  const auto shown = [&](int row, int col) {
    const QAbstractItemModel& m = grid.model();
    if (row == 0)
      return Shown{header(Qt::Horizontal, col).toString(),
                   header(Qt::Horizontal, col, Qt::TextAlignmentRole).value<Qt::Alignment>()};
    if (col == 0)
      return Shown{header(Qt::Vertical, row).toString(),
                   header(Qt::Vertical, row, Qt::TextAlignmentRole).value<Qt::Alignment>()};
    return Shown{m.data(m.index(row, col)).toString(),
                 m.data(m.index(row, col), Qt::TextAlignmentRole).value<Qt::Alignment>()};
  };
  const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
  const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;  // numbers
  const std::pair<int, QString> builds[] = {{10, "ten"}, {3, "three"}, {0, ""}};
  for (const auto& [n, title] : builds) {
    SCOPED_TRACE(n);
    SetUpTrackGrid(grid, n);
    if (n > 0) FillTrackGrid(grid, albumTitle, albumArtist, album(n, title), n);
    QApplication::processEvents();
    ASSERT_EQ(grid.rows(), n + 1);
    ASSERT_EQ(grid.cols(), 7);
    for (int r = 0; r <= n; ++r) {
      for (int c = 0; c < 7; ++c) {
        Shown expected{{}, left};
        if (r == 0 && c == 4) expected = {"曲名", Qt::AlignCenter};
        if (r == 0 && c == 6) expected = {"時間", Qt::AlignCenter};
        if (r > 0 && c == 0) expected = {QString::number(r), right};
        if (r > 0 && c == 4) expected = {QStringLiteral("%1 %2").arg(title).arg(r), left};
        if (r > 0 && c == 6) expected = {QStringLiteral("0:0%1:00").arg((r - 1) % 10), left};
        EXPECT_EQ(shown(r, c), expected) << "row " << r << ", column " << c;
        EXPECT_EQ(grid.textMatrix(r, c), expected.text) << "row " << r << ", column " << c;
      }
    }
    // A stray alignment, which the next set-up must clear with the texts.
    grid.setRow(std::min(n, 1));
    grid.setCol(4);
    grid.setCellAlignment(7);
  }
}

TEST_F(GridFixture, StartUpGridShowsHeaderRowAndNumberColumnInTheHeaders) {
  SetUpTrackGrid(grid, 1);
  EXPECT_EQ(grid.rows(), 2);
  EXPECT_EQ(grid.cols(), 7);
  EXPECT_EQ(grid.textMatrix(0, 4), "曲名");
  EXPECT_EQ(grid.textMatrix(1, 0), "1");
  // Row 0 and column 0 are on show in the headers, not among the scrolling cells.
  EXPECT_EQ(header(Qt::Horizontal, 4), "曲名");
  EXPECT_EQ(header(Qt::Horizontal, 6), "時間");
  EXPECT_EQ(header(Qt::Vertical, 1), "1");
  EXPECT_EQ(header(Qt::Horizontal, 4, Qt::TextAlignmentRole).value<Qt::Alignment>(),
            Qt::AlignCenter);
  EXPECT_DOUBLE_EQ(header(Qt::Horizontal, 4, Qt::FontRole).value<QFont>().pointSizeF(), 14.25);
  EXPECT_DOUBLE_EQ(header(Qt::Vertical, 1, Qt::FontRole).value<QFont>().pointSizeF(), 14.25);
  EXPECT_DOUBLE_EQ(grid.view()->font().pointSizeF(), 12);
  EXPECT_TRUE(grid.view()->isRowHidden(0));
  EXPECT_TRUE(grid.view()->isColumnHidden(0));
  // Only the title and time columns are visible, at their widths in pixels.
  for (int c : {1, 2, 3, 5}) EXPECT_TRUE(grid.view()->isColumnHidden(c)) << "column " << c;
  EXPECT_FALSE(grid.view()->isColumnHidden(4));
  EXPECT_EQ(grid.view()->columnWidth(4), 333);
  EXPECT_EQ(grid.view()->columnWidth(6), 67);
  EXPECT_TRUE(side()->isVisibleTo(&window));
  EXPECT_EQ(side()->width(), 53);
  // Every other cell is empty.
  for (int c = 1; c < 7; ++c) EXPECT_EQ(grid.textMatrix(1, c), "") << "column " << c;
}

TEST_F(GridFixture, NumbersAlignRightOtherTextsLeft) {
  SetUpTrackGrid(grid, 2);
  grid.setTextMatrix(1, 4, "Intro");
  grid.setTextMatrix(2, 4, "1999");
  auto alignment = [&](int row, int col) {
    return grid.model()
        .data(grid.model().index(row, col), Qt::TextAlignmentRole)
        .value<Qt::Alignment>();
  };
  EXPECT_EQ(alignment(1, 4), Qt::AlignLeft | Qt::AlignVCenter);
  EXPECT_EQ(alignment(2, 4), Qt::AlignRight | Qt::AlignVCenter);
  EXPECT_EQ(header(Qt::Vertical, 2, Qt::TextAlignmentRole).value<Qt::Alignment>(),
            Qt::AlignRight | Qt::AlignVCenter);
}

TEST_F(GridFixture, ShrinkingKeepsTheRemainingCellsAndDropsTheRest) {
  SetUpTrackGrid(grid, 10);
  grid.setTextMatrix(2, 4, "kept");
  grid.setTextMatrix(9, 4, "dropped");
  grid.setRows(4);
  grid.setRows(12);
  EXPECT_EQ(grid.textMatrix(2, 4), "kept");
  EXPECT_EQ(grid.textMatrix(9, 4), "");
  grid.setCols(3);
  grid.setCols(7);
  EXPECT_EQ(grid.textMatrix(0, 4), "") << "a removed column comes back empty";
  EXPECT_EQ(grid.textMatrix(2, 0), "2");
  EXPECT_EQ(grid.cellAlignment(0, 4), 0);
}

TEST_F(GridFixture, CellWritesReachViewsInOneBatch) {
  SetUpTrackGrid(grid, 1000);
  QApplication::processEvents();
  TrackTable table = album(1000);
  QSignalSpy changes(&grid.model(), &QAbstractItemModel::dataChanged);
  FillTrackGrid(grid, albumTitle, albumArtist, table, 1000);
  EXPECT_EQ(changes.count(), 0) << "nothing is reported cell by cell";
  QApplication::processEvents();
  ASSERT_EQ(changes.count(), 1);
  EXPECT_EQ(changes[0][0].toModelIndex(), grid.model().index(1, 4));
  EXPECT_EQ(changes[0][1].toModelIndex(), grid.model().index(1000, 6));
  EXPECT_EQ(grid.model().data(grid.model().index(1000, 4), Qt::DisplayRole), "曲 1000");
}

TEST_F(GridFixture, OutOfRangeRaisesRunTimeErrors) {
  SetUpTrackGrid(grid, 2);
  struct Case {
    const char* name;
    std::function<void()> call;
    int number;
  };
  const Case cases[] = {
      {"row past the end", [&] { grid.setTextMatrix(3, 0, "x"); }, 381},
      {"negative column", [&] { grid.setTextMatrix(0, -1, "x"); }, 381},
      {"current row past the end", [&] { grid.setRow(3); }, 381},
      {"current column past the end", [&] { grid.setCol(7); }, 381},
      {"width of a missing column", [&] { grid.setColWidth(7, 10); }, 381},
      {"no rows", [&] { grid.setRows(0); }, 380},
      {"no columns", [&] { grid.setCols(0); }, 380},
      {"negative width", [&] { grid.setColWidth(1, -1); }, 380},
  };
  for (const Case& c : cases) {
    const RuntimeError e = test::errorOf(c.call);
    EXPECT_EQ(e.number(), c.number) << c.name;
    EXPECT_FALSE(e.description().isEmpty()) << c.name;
  }
  EXPECT_EQ(grid.rows(), 3) << "a refused change leaves the grid as it was";
}

}  // namespace
}  // namespace orv::platform
