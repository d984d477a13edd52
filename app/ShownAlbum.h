#pragma once

#include "core/CheckedInt.h"
#include "platform/FormControls.h"
#include "tracks/TrackTable.h"

namespace orv {

// Shows the album in the window: its title and artist (albumTexts) in their labels, and a row for
// each of the first `count` records (at least one) with its trimmed title and play time in the
// track list. The table keeps its texts as they are.
//
//   showAlbum(controls, table, table.count());  // "Intro" in row 1 for " Intro "
void showAlbum(const platform::FormControls& controls, const TrackTable& table, Int16 count);

}  // namespace orv
