#pragma once

#include <QString>

#include <vector>

namespace orv::batch {

// The image files of an album folder that may hold the album's cover, best first, out of
// the names of the files it holds (`names`, in the listing's order): those named cover,
// folder, front or album, in that order; then those whose names start with "AlbumArt"
// and hold "Large"; then the other "AlbumArt…" ones. An image file's name ends in
// ".jpg", ".jpeg" or ".png". Letter case counts nowhere. Names of one rank keep the
// listing's order.
//
//   coverFileCandidates({"01.mp3", "AlbumArtSmall.jpg", "Folder.JPG", "cover.png"})
//       == {"cover.png", "Folder.JPG", "AlbumArtSmall.jpg"}
std::vector<QString> coverFileCandidates(const std::vector<QString>& names);

}  // namespace orv::batch
