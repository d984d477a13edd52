#include "tracks/TrackTable.h"

#include "tracks/TextRules.h"

namespace orv {

void TrackTable::resize(Int16 n) {
  if (n < 0) throw RuntimeError(ErrorCode::kSubscriptOutOfRange);
  // A fresh vector, so no text of the previous album survives in a reused record.
  records_ = std::vector<TrackRecord>(static_cast<std::size_t>(n.value()));
}

TrackRecord& TrackTable::operator[](Int16 index) { return records_[checked(index)]; }

const TrackRecord& TrackTable::operator[](Int16 index) const { return records_[checked(index)]; }

std::size_t TrackTable::checked(Int16 index) const {
  if (index < 0 || index >= count()) throw RuntimeError(ErrorCode::kSubscriptOutOfRange);
  return static_cast<std::size_t>(index.value());
}

AlbumTexts albumTexts(const TrackTable& table) {
  const TrackRecord& album = table[0];
  return {Trim(album.albumTitle), Trim(album.artist), album.albumTitleTagged, album.artistTagged};
}

}  // namespace orv
