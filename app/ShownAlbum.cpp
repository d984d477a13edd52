#include "app/ShownAlbum.h"

#include "tracks/TextRules.h"

#include <vector>

namespace orv {

void showAlbum(const platform::FormControls& controls, const TrackTable& table, Int16 count) {
  const AlbumTexts album = albumTexts(table);
  controls.albumTitleLabel.setCaption(album.title);
  controls.albumArtistLabel.setCaption(album.artist);
  std::vector<platform::ListedTrack> tracks;
  tracks.reserve(static_cast<std::size_t>(count.value()));
  for (Int16 i = 0; i < count; ++i)
    tracks.push_back({Trim(table[i].title), Trim(table[i].duration)});
  controls.trackList.show(std::move(tracks));
}

}  // namespace orv
