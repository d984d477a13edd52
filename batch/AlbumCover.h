#pragma once

#include "batch/AlbumBuild.h"

#include <QString>

#include <vector>

namespace orv::batch {

// Gives the album in `albumFolder` (ending in "/") a jacket.jpg unless it has one, made
// from the album's own picture: the first of its image files (coverFileCandidates) that
// can be read as a picture; else from the tags of `tracks` (the tracks' file names in the
// album folder, in the page's order) a front cover of any track, the first that can be
// read, and only where no track has one, the first picture of the first track that has
// any (TagPictures: listed without their bodies, only the one chosen read whole); else the
// placeholder, copied as the window copies it (CopyProgramCover). A jacket.jpg that is
// byte for byte the program's placeholder (HoldsProgramCover) counts as none: the album's
// own picture replaces it (replaceFileAtomically; CoverSource::replacedPlaceholder), and
// without one it stays and counts as kept. A JPEG is written as it is (a JPEG file copied,
// copyFileNoReplaceIf), any other picture converted (PictureConverter). A new jacket.jpg
// is written whole and atomically and never replaces anything but the placeholder: one
// that appears meanwhile stays, and the cover counts as kept. The source picture and
// everything else in the folder stay as they are.
//
// It works on `services.album`'s file system (a dry run's, in a dry run). A candidate
// that vanished is passed over. Any other failure to read one, or to write jacket.jpg,
// raises its RuntimeError.
//
//   CoverSource source = coverAlbum("/music/album/", {"01_Intro.mp3"}, services);
//   source.text() == "file:cover.png"   // "replaced:file:cover.png" over the placeholder
album::CoverSource coverAlbum(const QString& albumFolder, const std::vector<QString>& tracks,
                              const BuildServices& services);

}  // namespace orv::batch
