#pragma once

#include "platform/taglib/TagLayout.h"

#include <QByteArray>
#include <QString>

namespace orv::platform {

// The descriptive texts of one MP3 file, as its tags give them.
struct TrackTexts {
  QString artist;
  QString title;
  QString album;
};

// An ID3v2 tag up to this size is read whole, in one read; a larger one (pictures, mostly)
// is read without the frames that hold no text (readSparseId3v2Tag).
inline constexpr qint64 kReadWholeTagUpTo = 64 * 1024;

// Reads the ID3v2 (2.2, 2.3, 2.4), APE and ID3v1 tags of the open `file`, found where
// `layout` says, with TagLib (APE items with readApeTexts), and merges them field by field
// as TagLib's MPEG files do: the first non-empty of ID3v2, APE, ID3v1. 8-bit text (ID3v1,
// ID3v2 frames marked ISO-8859-1, APE items) is read as decodeEightBitText reads it;
// frames marked UTF-16 or UTF-8 stay as TagLib reads them. A field no tag holds gives an
// empty text. `name` only labels the file. An ID3v2 tag larger than `readWholeTagUpTo`
// bytes is read without its pictures and other binary frames where its layout allows;
// the texts are the same either way.
//
//   TrackTexts t = readTrackTexts(file, "01.mp3", findTagLayout(file));
//   t.title == "Intro"
TrackTexts readTrackTexts(const TrackFile& file, const QByteArray& name, const TagLayout& layout,
                          qint64 readWholeTagUpTo = kReadWholeTagUpTo);

}  // namespace orv::platform
