#pragma once

#include "platform/taglib/TagLayout.h"
#include "text/TagText.h"

#include <QByteArray>

namespace orv::platform {

// The descriptive texts of one MP3 file, as its tags give them: 8-bit values as their
// bytes, for the album to read.
struct TrackTexts {
  text::TagText artist;
  text::TagText title;
  text::TagText album;
  bool operator==(const TrackTexts&) const = default;
};

// An ID3v2 tag up to this size is read whole, in one read; a larger one (pictures, mostly)
// is read without the frames that hold no text (readSparseId3v2Tag).
inline constexpr qint64 kReadWholeTagUpTo = 64 * 1024;

// Reads the ID3v2 (2.2, 2.3, 2.4), APE and ID3v1 tags of the open `file`, found where
// `layout` says, with TagLib (APE items with readApeTexts), and merges them field by field
// as TagLib's MPEG files do: the first non-empty of ID3v2, APE, ID3v1. 8-bit text (ID3v1
// fields, ID3v2 frames marked ISO-8859-1, APE items) is kept as its bytes, value by
// value (RawEightBitTexts, ApeTexts.h); frames marked UTF-16 or UTF-8 are read as TagLib
// reads them. A field no tag holds gives an empty text. `name` only labels the file. An
// ID3v2 tag larger than `readWholeTagUpTo` bytes is read without its pictures and other
// binary frames where its layout allows; the texts are the same either way.
//
//   TrackTexts t = readTrackTexts(file, "01.mp3", findTagLayout(file));
//   t.title == text::TagText(u"Intro"_s)                   // a frame in UTF-16
//   t.artist.parts() == {EightBitValue{"\x83\x65\x83\x58\x83\x67"}}  // テスト, as Shift-JIS
TrackTexts readTrackTexts(const TrackFile& file, const QByteArray& name, const TagLayout& layout,
                          qint64 readWholeTagUpTo = kReadWholeTagUpTo);

}  // namespace orv::platform
