#pragma once

#include "core/CheckedInt.h"
#include "platform/Grid.h"
#include "platform/WindowSystem.h"
#include "tracks/TrackTable.h"

namespace orv {

// Prepares the grid: 7 columns (0, 4 and 6 visible), a header row with "曲名" and "時間"
// centred, and n data rows numbered "1" to n. Clears everything an earlier album left.
//
//   SetUpTrackGrid(grid, 1);  // the grid of a freshly started window
void SetUpTrackGrid(platform::Grid& grid, Int16 n);

// Shows the album: the trimmed album title and artist of record 0 in their labels, and
// for each row r the trimmed title and play time of record r - 1. Needs n >= 1 and a grid
// set up for n rows.
//
//   FillTrackGrid(grid, albumTitleLabel, albumArtistLabel, table, table.count());
void FillTrackGrid(platform::Grid& grid, platform::Label& albumTitleLabel,
                   platform::Label& albumArtistLabel, const TrackTable& table, Int16 n);

}  // namespace orv
