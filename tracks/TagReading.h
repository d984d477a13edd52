#pragma once

#include "core/CheckedInt.h"
#include "platform/TrackDetails.h"
#include "text/AlbumTexts.h"
#include "tracks/TrackTable.h"

#include <optional>
#include <vector>

namespace orv {

inline const QString kNoArtist = QStringLiteral("アーティスト情報なし");
inline const QString kNoTitle = QStringLiteral("タイトル情報なし");
inline const QString kNoAlbumTitle = QStringLiteral("アルバムタイトルなし");

// The tag reading of one album: each record is read from its file in turn, and once the
// last is read, the album's 8-bit texts are decided together (text::AlbumTexts) and every
// record gets its texts. So which code page an album's texts are read in is known before
// anything shows them, and the blank test and the default texts see the texts as read.
//
//   AlbumTagReading reading;
//   for (Int16 i = 0; i < table.count(); ++i) reading.read(table, i, reader);
//   const text::AlbumVerdict verdict = reading.store(table);
//   // verdict.encoding->name() == "euc-kr";  table[0].title == "넬"
class AlbumTagReading {
 public:
  // `forced`: the user's encoding for every 8-bit text, in place of the album's own.
  explicit AlbumTagReading(std::optional<text::TextEncoding> forced = std::nullopt);

  // Reads record `index` from the file its trimmed folder and name make: stores its play
  // time (as the reader gives it) and keeps its texts for store(). Errors (kPathNotFound
  // for a missing folder, kSubscriptOutOfRange for an index outside the table) are raised
  // to the caller.
  void read(TrackTable& table, Int16 index, platform::TrackDetailsReader& reader);

  // Once every record is read: decides the album's 8-bit texts and completes each record
  // read with its artist, title and album title (the default texts above when blank,
  // double quotes made apostrophes, otherwise untrimmed) and whether the artist and the
  // album title were tagged. Returns the album's verdict.
  text::AlbumVerdict store(TrackTable& table);

 private:
  text::AlbumTexts texts_;
  std::vector<std::optional<platform::TrackDetails>> details_;  // by record
};

}  // namespace orv
