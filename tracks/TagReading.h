#pragma once

#include "core/CheckedInt.h"
#include "platform/TrackDetails.h"
#include "tracks/TrackTable.h"

namespace orv {

inline const QString kNoArtist = QStringLiteral("アーティスト情報なし");
inline const QString kNoTitle = QStringLiteral("タイトル情報なし");
inline const QString kNoAlbumTitle = QStringLiteral("アルバムタイトルなし");

// Completes record `index` with its artist, title, album title (the default texts above
// when blank, double quotes made apostrophes, otherwise untrimmed), whether the artist
// and the album title were tagged, and its play time (as the reader gives it), read from
// the file its trimmed folder and name make. Errors (kPathNotFound for a missing folder,
// kSubscriptOutOfRange for an index outside the table) are raised to the caller.
//
//   ReadTrackTags(table, 0, reader);  // table[0].artist == "アーティスト情報なし" if untagged
void ReadTrackTags(TrackTable& table, Int16 index, platform::TrackDetailsReader& reader);

}  // namespace orv
