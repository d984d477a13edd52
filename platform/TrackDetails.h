#pragma once

#include "platform/ReadAhead.h"
#include "text/TagText.h"

#include <QString>

#include <memory>
#include <vector>

namespace orv::platform {

// What a track's tags say of it, as they say it: texts untrimmed, and empty where no tag
// holds the field (so a blank text tells an untagged field). Their 8-bit values are kept
// as their bytes: which code page they are read in, the album's texts decide together
// (text/AlbumTexts.h), once the album's last track is read.
struct TrackDetails {
  text::TagText title;
  text::TagText artist;
  text::TagText albumTitle;
  QString playTime;  // "H:MM:SS", e.g. "0:03:25"; empty when the file holds no audio
  bool operator==(const TrackDetails&) const = default;
};

// Reads tracks' details from their files, one call per track. It keeps nothing of one
// track for the next, and may be used from several threads at once.
//
//   TrackDetails d = reader.read("/music/album/01_Intro.mp3");
//   d.title.alone() == "Intro";  d.playTime == "0:03:25"
//   reader.read("/music/album/gone.mp3").title.isEmpty()   // no such file: no details
//   reader.read("/music/none/01.mp3");                     // RuntimeError kPathNotFound
class TrackDetailsReader {
 public:
  virtual ~TrackDetailsReader() = default;

  // The details of the file `path` (its folder, up to the last "/", and its name). A
  // folder that does not exist raises ErrorCode::kPathNotFound, "フォルダ「<folder>」が
  // 見つかりません。"; a file that is not there (or no regular file) has empty details;
  // a file that exists but cannot be opened raises a RuntimeError naming it. A missing
  // tag or a file without audio is no error.
  virtual TrackDetails read(const QString& path) = 0;

  // Starts reading the files `paths` (whole paths, as they are named now) ahead of their
  // own reading, in that order; see TrackReadAhead. What is read ahead for a file serves
  // that file's own reading once, and only while the file is unchanged. The default reads
  // nothing ahead.
  virtual std::unique_ptr<TrackReadAhead> readAhead(std::vector<QString> paths) {
    (void)paths;
    return std::make_unique<NoReadAhead>();
  }
};

}  // namespace orv::platform
