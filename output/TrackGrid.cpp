#include "output/TrackGrid.h"

#include "tracks/TextRules.h"

namespace orv {

namespace {

constexpr int kCols = 7;
constexpr int kTitleCol = 4;
constexpr int kTimeCol = 6;
// Twips per column: the row number, three unused columns, the title, one unused, the time.
constexpr int kColWidths[kCols] = {800, 0, 0, 0, 5000, 0, 1000};

}  // namespace

void SetUpTrackGrid(platform::Grid& grid, Int16 n) {
  grid.Clear();
  grid.setCols(kCols);
  grid.setRows((n + 1).value());
  for (int col = 0; col < kCols; ++col) grid.setColWidth(col, kColWidths[col]);
  for (Int16 r = 1; r <= n; ++r) grid.setTextMatrix(r.value(), 0, QString::number(r.value()));

  // Clear took the alignment of the header cells with it, so it is set again each time.
  grid.setRow(0);
  grid.setCol(kTitleCol);
  grid.setCellAlignment(platform::kAlignCenterCenter);
  grid.setText(QStringLiteral("曲名"));
  grid.setCol(kTimeCol);
  grid.setCellAlignment(platform::kAlignCenterCenter);
  grid.setText(QStringLiteral("時間"));
}

void FillTrackGrid(platform::Grid& grid, platform::Label& albumTitleLabel,
                   platform::Label& albumArtistLabel, const TrackTable& table, Int16 n) {
  // The album is what its first record says; the other records' album tags are not read.
  albumTitleLabel.setCaption(Trim(table[0].albumTitle));
  albumArtistLabel.setCaption(Trim(table[0].artist));
  for (Int16 r = 1; r <= n; ++r) {
    const TrackRecord& record = table[r - 1];
    grid.setRow(r.value());
    grid.setCol(kTitleCol);
    grid.setText(Trim(record.title));
    grid.setCol(kTimeCol);
    grid.setText(Trim(record.duration));
  }
}

}  // namespace orv
