#pragma once

#include "platform/CheckedInt.h"
#include "platform/Grid.h"
#include "platform/WindowSystem.h"
#include "tracks/TrackTable.h"

namespace orv {

// Prepares the grid: 7 columns (0, 4 and 6 visible), a header row with "曲名" and "時間"
// centred, and n data rows numbered "1" to n. Clears everything an earlier album left.
//
//   SetUpTrackGrid(grid, 1);  // the grid of a freshly started window
void SetUpTrackGrid(platform::Grid& grid, Int16 n);

// Shows the album: Label3 the trimmed album title of record 0, Label4 its trimmed artist,
// and for each row r the trimmed title and play time of record r - 1. Needs n >= 1 and a
// grid set up for n rows.
void FillTrackGrid(platform::Grid& grid, platform::Label& label3, platform::Label& label4,
                   const TrackTable& table, Int16 n);

}  // namespace orv
