#pragma once

// The labelled albums of labelled_albums.txt: albums as one tagger writes them, and
// compilations of several, with what their writers meant.

#include "tests/mp3/LabelledTexts.h"
#include "text/TagText.h"

#include <QString>

#include <vector>

namespace orv::test {

struct LabelledTrack {
  QString title;
  QString artist;
  TextLabel label;  // how its title and artist are encoded
};

struct LabelledAlbum {
  // "tune": looked at while the album rule was made; "held": held back at first, then
  // seen; "late": written after the rule's last change (see the table's head).
  QString set;
  TextLabel label;  // how its album title is encoded, and most of its tracks
  QString artist;
  QString title;
  std::vector<LabelledTrack> tracks;
  // Whether all of it is written by one tagger.
  bool oneTagger() const;
};

// Every album of the table, in its order. Throws when the table cannot be read.
const std::vector<LabelledAlbum>& labelledAlbums();

// A text as a tag holds it, in an ID3v2 frame marked ISO-8859-1 or in an ID3v1 field (30
// bytes, padded with NULs, or cut), and what it must read as: its text, or in an ID3v1
// field as much of it as fits, without the white space around it.
//
//   tagged(u"넬"_s, TextLabel::kCp949, EightBitField::kId3v1).tag
//       == EightBitValue{"\xB3\xDA" + 28 NULs, EightBitField::kId3v1}
struct TaggedText {
  text::TagText tag;
  QString meant;
  TextLabel label;
  bool eightBit = false;  // whether its bytes leave ASCII
};
TaggedText tagged(const QString& text, TextLabel label, text::EightBitField field);

// Each track's title, artist and album title, as `field`s.
struct TaggedTrack {
  TaggedText title, artist, album;
};
std::vector<TaggedTrack> taggedTracks(const LabelledAlbum& album, text::EightBitField field);

}  // namespace orv::test
