#pragma once

#include "core/CheckedInt.h"
#include "platform/DetailSource.h"
#include "tracks/TrackTable.h"

namespace orv {

inline const QString kNoArtist = QStringLiteral("アーティスト情報なし");
inline const QString kNoTitle = QStringLiteral("タイトル情報なし");
inline const QString kNoAlbumTitle = QStringLiteral("アルバムタイトルなし");

// Completes record `index` with its artist, title, album title (the default texts above
// when blank, double quotes made apostrophes, otherwise untrimmed), whether the artist
// and the album title were tagged, and its play time (as the detail source gives it).
// Uses a new detail source from `factory` for this one call. Errors (kPathNotFound for
// a missing folder, kSubscriptOutOfRange for an index outside the table) are raised to
// the caller.
//
//   ReadTrackTags(table, 0, factory);  // table[0].artist == "アーティスト情報なし" if untagged
void ReadTrackTags(TrackTable& table, Int16 index, platform::DetailSourceFactory& factory);

}  // namespace orv
