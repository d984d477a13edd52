#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace orv::platform {

// The pictures MP3 files carry in their tags, such as their album's front cover.
class TagPictures {
 public:
  virtual ~TagPictures() = default;

  // The picture of the MP3 file `path` that stands for its album, as the tag holds it (an
  // image file's bytes, whatever they are): the tag's first front cover (ID3v2 picture
  // type 3), else its first picture of any type. nullopt when the file's ID3v2 tag holds
  // no picture, it has no ID3v2 tag, or no regular file is under `path`. Reads that one
  // file's ID3v2 tag, and nothing of any other file. A file that exists but can't be
  // opened raises a RuntimeError naming it. Safe to call from several threads at once.
  //
  //   std::optional<QByteArray> cover = tagPictures.coverOf("/music/album/01_Intro.mp3");
  virtual std::optional<QByteArray> coverOf(const QString& path) = 0;
};

}  // namespace orv::platform
