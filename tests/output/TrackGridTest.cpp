#include "output/TrackGrid.h"

#include "tests/support/Errors.h"
#include "tests/support/Fakes.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using test::errorOf;
using test::FakeGrid;
using test::FakeLabel;

TrackTable tableOf(std::initializer_list<TrackRecord> records) {
  TrackTable table;
  table.resize(Int16(records.size()));
  Int16 i = 0;
  for (const TrackRecord& r : records) {
    table[i] = r;
    ++i;
  }
  return table;
}

TrackRecord track(QString title, QString duration, QString artist = {}, QString album = {}) {
  TrackRecord r;
  r.title = std::move(title);
  r.duration = std::move(duration);
  r.artist = std::move(artist);
  r.albumTitle = std::move(album);
  return r;
}

// Every cell but the header texts and the row numbers 1..n is empty.
void expectOnlyHeaderAndNumbers(const FakeGrid& grid, int n) {
  for (int r = 0; r < grid.rows(); ++r) {
    for (int c = 0; c < grid.cols(); ++c) {
      QString expected;
      if (r == 0 && c == 4) expected = "曲名";
      if (r == 0 && c == 6) expected = "時間";
      if (r > 0 && c == 0) expected = QString::number(r);
      EXPECT_EQ(grid.textMatrix(r, c), expected) << "cell " << r << "," << c << " of " << n;
    }
  }
}

TEST(SetUpTrackGrid, StartUpGridHasHeaderAndOneNumberedRow) {
  FakeGrid grid;
  SetUpTrackGrid(grid, 1);
  EXPECT_EQ(grid.rows(), 2);
  EXPECT_EQ(grid.cols(), 7);
  expectOnlyHeaderAndNumbers(grid, 1);
  EXPECT_EQ(grid.cellAlignment(0, 4), platform::kAlignCenterCenter);
  EXPECT_EQ(grid.cellAlignment(0, 6), platform::kAlignCenterCenter);
  EXPECT_EQ(grid.cellAlignment(1, 0), 0) << "other cells keep the default alignment";
  EXPECT_EQ(grid.cellAlignment(1, 4), 0);
  EXPECT_EQ(grid.row(), 0);
  EXPECT_EQ(grid.col(), 6);
}

TEST(SetUpTrackGrid, ZeroRowsLeavesTheHeaderRowOnly) {
  FakeGrid grid;
  SetUpTrackGrid(grid, 10);
  SetUpTrackGrid(grid, 0);
  EXPECT_EQ(grid.rows(), 1);
  expectOnlyHeaderAndNumbers(grid, 0);
}

TEST(SetUpTrackGrid, SmallerAlbumAfterLargerLeavesNoOldRowsOrTexts) {
  FakeGrid grid;
  TrackTable ten;
  ten.resize(10);
  for (Int16 i = 0; i < 10; ++i) ten[i] = track("old " + QString::number(i.value()), "0:01:00");
  FakeLabel albumTitle, albumArtist;
  SetUpTrackGrid(grid, 10);
  FillTrackGrid(grid, albumTitle, albumArtist, ten, 10);
  grid.setRow(0);
  grid.setCol(0);
  grid.setCellAlignment(7);  // a stray alignment, as the grid may hold one

  SetUpTrackGrid(grid, 3);
  EXPECT_EQ(grid.rows(), 4);
  expectOnlyHeaderAndNumbers(grid, 3);
  EXPECT_EQ(grid.cellAlignment(0, 0), 0) << "Clear takes the formatting too";
  EXPECT_EQ(grid.cellAlignment(0, 4), platform::kAlignCenterCenter);
}

TEST(SetUpTrackGrid, LargestAlbumFitsAndOneMoreOverflows) {
  FakeGrid grid;
  SetUpTrackGrid(grid, 32766);
  EXPECT_EQ(grid.rows(), 32767);
  EXPECT_EQ(grid.textMatrix(32766, 0), "32766");
  // n + 1 rows do not fit in 16 bits.
  EXPECT_EQ(errorOf([&] { SetUpTrackGrid(grid, 32767); }).number(), 6);
}

struct CellCase {
  const char* name;
  QString title, duration;
  QString shownTitle, shownDuration;
};

TEST(FillTrackGrid, ShowsTitlesAndTimesTrimmedAndAsStored) {
  const CellCase cases[] = {
      {"plain", "Intro", "0:03:25", "Intro", "0:03:25"},
      {"spaces around", "  Outro  ", " 0:10:00 ", "Outro", "0:10:00"},
      {"inner spaces stay", "A  B", "1:00:00", "A  B", "1:00:00"},
      {"only U+0020 is trimmed", "\t曲\u3000", "0:00:01", "\t曲\u3000", "0:00:01"},
      {"title default from tag reading", "タイトル情報なし", "0:02:00", "タイトル情報なし",
       "0:02:00"},
      {"blank play time", "Silence", "", "Silence", ""},
      {"play time not reformatted", "X", "3:25", "X", "3:25"},
  };
  for (const CellCase& c : cases) {
    FakeGrid grid;
    FakeLabel albumTitle, albumArtist;
    TrackTable table = tableOf({track("first", "0:00:01"), track(c.title, c.duration)});
    SetUpTrackGrid(grid, 2);
    FillTrackGrid(grid, albumTitle, albumArtist, table, 2);
    EXPECT_EQ(grid.textMatrix(2, 4), c.shownTitle) << c.name;
    EXPECT_EQ(grid.textMatrix(2, 6), c.shownDuration) << c.name;
    EXPECT_EQ(table[1].title, c.title) << c.name << ": the table keeps the stored text";
    EXPECT_EQ(grid.textMatrix(2, 0), "2") << c.name << ": the fill leaves the numbers";
    EXPECT_EQ(grid.textMatrix(0, 4), "曲名") << c.name << ": the fill leaves the header";
    for (int col : {1, 2, 3, 5}) EXPECT_EQ(grid.textMatrix(2, col), "") << c.name;
  }
}

TEST(FillTrackGrid, RowRShowsRecordRMinusOne) {
  FakeGrid grid;
  FakeLabel albumTitle, albumArtist;
  TrackTable table = tableOf({track("a", "0:00:01"), track("b", "0:00:02"), track("c", "")});
  SetUpTrackGrid(grid, 3);
  FillTrackGrid(grid, albumTitle, albumArtist, table, 3);
  EXPECT_EQ(grid.textMatrix(1, 4), "a");
  EXPECT_EQ(grid.textMatrix(2, 6), "0:00:02");
  EXPECT_EQ(grid.textMatrix(3, 4), "c");
  EXPECT_EQ(grid.row(), 3);
  EXPECT_EQ(grid.col(), 6);
}

TEST(FillTrackGrid, LabelsComeFromTheFirstRecordOnly) {
  struct LabelCase {
    const char* name;
    TrackRecord first, second;
    QString albumTitle, albumArtist;
  };
  const LabelCase cases[] = {
      {"trimmed", track("t", "", "  Artist ", " Album  "), track("u", "", "X", "Y"), "Album",
       "Artist"},
      {"defaults of record 0 win over later tags",
       track("t", "", "アーティスト情報なし", "アルバムタイトルなし"),
       track("u", "", "Real Artist", "Real Album"), "アルバムタイトルなし", "アーティスト情報なし"},
  };
  for (const LabelCase& c : cases) {
    FakeGrid grid;
    FakeLabel albumTitle, albumArtist;
    TrackTable table = tableOf({c.first, c.second});
    SetUpTrackGrid(grid, 2);
    FillTrackGrid(grid, albumTitle, albumArtist, table, 2);
    EXPECT_EQ(albumTitle.caption(), c.albumTitle) << c.name;
    EXPECT_EQ(albumArtist.caption(), c.albumArtist) << c.name;
  }
}

TEST(FillTrackGrid, SetUpLeavesTheLabelsAlone) {
  FakeGrid grid;
  FakeLabel albumTitle("album"), albumArtist("artist");
  SetUpTrackGrid(grid, 5);
  EXPECT_EQ(albumTitle.caption(), "album");
  EXPECT_EQ(albumArtist.caption(), "artist");
}

TEST(FillTrackGrid, EmptyTableRaisesIndexError) {
  FakeGrid grid;
  FakeLabel albumTitle, albumArtist;
  TrackTable empty;
  SetUpTrackGrid(grid, 1);
  EXPECT_EQ(errorOf([&] { FillTrackGrid(grid, albumTitle, albumArtist, empty, 1); }).number(), 9);
}

}  // namespace
}  // namespace orv
