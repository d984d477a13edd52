#pragma once

#include "platform/taglib/TrackFile.h"

#include <QtGlobal>

#include <optional>

namespace orv::platform {

// Where the tags of an MP3 file lie, and so where its audio may lie: between the ID3v2
// tags at the start and the APE, Lyrics3 and ID3v1 tags at the end.
struct TagLayout {
  std::optional<qint64> id3v2;      // the first ID3v2 tag: 0, or none
  qint64 id3v2Bytes = 0;            // its size, header and footer included, as it claims
  std::optional<qint64> apeFooter;  // the APE tag's 32-byte footer
  std::optional<qint64> id3v1;      // the 128-byte ID3v1 tag: the file's last bytes
  qint64 audioBegin = 0;            // after every ID3v2 tag at the start
  qint64 audioEnd = 0;              // before the trailing tags
};

// Reads the tag headers and footers of the open `file`. A file that is not a regular
// file has no tags and no audio.
//
//   [ID3v2][audio…][APE][Lyrics3][ID3v1]
//   findTagLayout(file).audioEnd == fileSize - apeSize - lyricsSize - 128
TagLayout findTagLayout(const TrackFile& file);

}  // namespace orv::platform
