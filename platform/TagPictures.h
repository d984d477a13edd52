#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <optional>
#include <vector>

namespace orv::platform {

// What a picture in a track's tags shows, as far as an album's cover is concerned.
enum class PictureKind {
  kFrontCover,  // ID3v2 picture type 3
  kOther,       // a back cover, the artist, a leaflet, any other
};

// The pictures MP3 files carry in their tags, such as their album's front cover, found
// first and read only once chosen: a track's pictures of 1 MB cost a few KB to list.
// Each call reads that one file's ID3v2 tag, and nothing of any other file. No regular
// file under the path, or no ID3v2 tag, holds no picture; a file that exists but can't
// be opened raises a RuntimeError naming it. Safe to call from several threads at once.
class TagPictures {
 public:
  virtual ~TagPictures() = default;

  // What the pictures of the ID3v2 tag of `path` show, in the tag's order, read without
  // their bodies.
  //
  //   tagPictures.picturesOf("/music/album/01.mp3")   // {kOther, kFrontCover}
  virtual std::vector<PictureKind> picturesOf(const QString& path) = 0;

  // The picture at `index` of picturesOf(path), as the tag holds it (an image file's
  // bytes, whatever they are), and only it read whole; nullopt when the tag has no such
  // picture (any more).
  //
  //   std::optional<QByteArray> front = tagPictures.pictureOf("/music/album/01.mp3", 1);
  virtual std::optional<QByteArray> pictureOf(const QString& path, std::size_t index) = 0;
};

}  // namespace orv::platform
