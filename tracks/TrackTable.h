#pragma once

#include "core/CheckedInt.h"

#include <QString>

#include <vector>

namespace orv {

// One MP3 file of the album. Texts are kept as they were found, untrimmed.
struct TrackRecord {
  QString folderPath;  // the album folder, ending in "/"
  QString fileName;    // the name on disk after the scan's rename (spaces made "_")
  QString listedName;  // the name as the folder listing gave it
  QString artist;
  QString title;
  QString albumTitle;
  QString duration;  // "H:MM:SS" or empty
  // Whether the artist and the album title come from the tags; when not, they hold the
  // default texts of the tag reading.
  bool artistTagged = false;
  bool albumTitleTagged = false;
};

// One album's track list, as a build makes it. Record 0 doubles as the album: its artist,
// album title and folder stand for the whole album.
//
//   TrackTable table;
//   table.resize(3);              // three empty records, 0 to 2
//   table[2].title = "Intro";
//   table[3];                     // throws RuntimeError(ErrorCode::kSubscriptOutOfRange)
class TrackTable {
 public:
  // Discards every record and creates n empty ones.
  void resize(Int16 n);
  Int16 count() const { return Int16(records_.size()); }

  TrackRecord& operator[](Int16 index);
  const TrackRecord& operator[](Int16 index) const;

 private:
  std::size_t checked(Int16 index) const;

  std::vector<TrackRecord> records_;
};

// The album as its tracks tell it: what record 0 says, trimmed, as the window's labels,
// the page and the batch show it. The other records' album tags are not read.
struct AlbumTexts {
  QString title;
  QString artist;
  bool titleTagged = false;  // false: `title` is the tag reading's default text
  bool artistTagged = false;
};

//   albumTexts(table).title == "Album"   // for table[0].albumTitle == " Album "
AlbumTexts albumTexts(const TrackTable& table);

}  // namespace orv
