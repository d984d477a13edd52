#pragma once

#include "batch/AlbumBuild.h"

#include <QString>

#include <vector>

namespace orv::batch {

// Gives the album in `albumFolder` (ending in "/") a jacket.jpg unless it has one, made
// from the album's own picture: the first of its image files (coverFileCandidates) that
// can be read as a picture; else the tag picture of the first of `tracks` (the tracks'
// file names in the album folder, in the page's order) that has one that can be read;
// else the placeholder, copied as the window copies it (CopyProgramCover). A JPEG is
// written as it is (a JPEG file copied, copyFileNoReplaceIf), any other picture converted
// (PictureConverter) and created (createFileAtomically). The new jacket.jpg is written
// whole and atomically and never replaces anything: a jacket.jpg that appears
// meanwhile stays, and the cover counts as kept. The source picture and everything else
// in the folder stay as they are.
//
// It works on `services.album`'s file system (a dry run's, in a dry run). A candidate
// that vanished is passed over. Any other failure to read one, or to write jacket.jpg,
// raises its RuntimeError.
//
//   CoverSource source = coverAlbum("/music/album/", {"01_Intro.mp3"}, services);
//   source.text() == "file:cover.png"
album::CoverSource coverAlbum(const QString& albumFolder, const std::vector<QString>& tracks,
                              const BuildServices& services);

}  // namespace orv::batch
