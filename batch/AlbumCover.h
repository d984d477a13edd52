#pragma once

#include "platform/FileSystem.h"
#include "platform/PictureConverter.h"
#include "platform/TagPictures.h"

#include <QString>

#include <vector>

namespace orv::batch {

// Where an album's cover jacket.jpg came from.
struct CoverSource {
  enum class Kind {
    kKept,         // the album had its jacket.jpg already
    kFile,         // an image file of the album folder
    kTags,         // the picture in a track's tags
    kPlaceholder,  // the program's own jacket.jpg, as the window copies it
  };
  Kind kind = Kind::kPlaceholder;
  QString name;  // kFile: the image file; kTags: the track; a name in the album folder

  // As the batch reports it: "kept", "placeholder", "file:cover.png", "tags:01_Intro.mp3".
  QString text() const;
  bool operator==(const CoverSource&) const = default;
};

// What finding and writing an album's cover works with. Shared by the albums built at
// once, so each must be safe to use from several threads.
struct CoverServices {
  platform::FileSystem& fileSystem;
  platform::TagPictures& tagPictures;
  platform::PictureConverter& pictures;
  QString programFolder;  // holds the placeholder jacket.jpg; ends in "/"
};

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
// A candidate that vanished is passed over. Any other failure to read one, or to write
// jacket.jpg, raises its RuntimeError.
//
//   CoverSource source = coverAlbum("/music/album/", {"01_Intro.mp3"}, services);
//   source.text() == "file:cover.png"
CoverSource coverAlbum(const QString& albumFolder, const std::vector<QString>& tracks,
                       const CoverServices& services);

}  // namespace orv::batch
