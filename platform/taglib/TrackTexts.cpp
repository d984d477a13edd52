#include "platform/taglib/TrackTexts.h"

#include "platform/taglib/ApeTexts.h"
#include "platform/taglib/FdStream.h"
#include "platform/taglib/SparseId3v2Tag.h"
#include "platform/taglib/StringHandlers.h"
#include "platform/taglib/TagFile.h"

#include <taglib/id3v1tag.h>
#include <taglib/id3v2framefactory.h>
#include <taglib/id3v2tag.h>
#include <taglib/textidentificationframe.h>

#include <array>

namespace orv::platform {
namespace {

using text::EightBitField;

// Whether TagLib read the frame `id` of `tag` (its first, as TagLib's own accessors do) as
// 8-bit text.
bool isEightBit(const TagLib::ID3v2::Tag& tag, const char* id) {
  const TagLib::ID3v2::FrameListMap& frames = tag.frameListMap();
  const auto found = frames.find(id);
  if (found == frames.end() || found->second.isEmpty()) return false;
  const auto* frame =
      dynamic_cast<const TagLib::ID3v2::TextIdentificationFrame*>(found->second.front());
  return frame != nullptr && frame->textEncoding() == TagLib::String::Latin1;
}

text::TagText textOf(const TagLib::ID3v2::Tag& tag, const char* id, const TagLib::String& read,
                     const RawEightBitTexts& raw) {
  if (isEightBit(tag, id)) return raw.textOf(read, EightBitField::kId3v2);
  return QString::fromUtf8(read.toCString(/*unicode=*/true));
}

TrackTexts textsOf(const TagLib::ID3v2::Tag& tag, const RawEightBitTexts& raw) {
  return {textOf(tag, "TPE1", tag.artist(), raw), textOf(tag, "TIT2", tag.title(), raw),
          textOf(tag, "TALB", tag.album(), raw)};
}

TrackTexts textsOf(const TagLib::ID3v1::Tag& tag, const RawEightBitTexts& raw) {
  return {raw.textOf(tag.artist(), EightBitField::kId3v1),
          raw.textOf(tag.title(), EightBitField::kId3v1),
          raw.textOf(tag.album(), EightBitField::kId3v1)};
}

// Field by field, the first tag in order whose field is not empty.
TrackTexts merged(const std::array<TrackTexts, 3>& tags) {
  TrackTexts out;
  for (const TrackTexts& tag : tags) {
    if (out.artist.isEmpty()) out.artist = tag.artist;
    if (out.title.isEmpty()) out.title = tag.title;
    if (out.album.isEmpty()) out.album = tag.album;
  }
  return out;
}

}  // namespace

TrackTexts readTrackTexts(const TrackFile& file, const QByteArray& name, const TagLayout& layout,
                          qint64 readWholeTagUpTo) {
  const RawEightBitTexts raw;  // while TagLib reads the tags below
  FdStream stream(file, name);
  TagFile tagFile(&stream);
  std::array<TrackTexts, 3> tags;  // ID3v2, APE, ID3v1
  if (layout.id3v2) {
    // TagLib reads a tag in one block, its pictures too; a large tag is read without them.
    if (layout.id3v2Bytes > readWholeTagUpTo) {
      if (auto tag = readSparseId3v2Tag(file, *layout.id3v2)) {
        stream.serveFromMemory(static_cast<long>(*layout.id3v2), std::move(*tag));
      }
    }
    tags[0] = textsOf(TagLib::ID3v2::Tag(&tagFile, static_cast<long>(*layout.id3v2),
                                         TagLib::ID3v2::FrameFactory::instance()),
                      raw);
  }
  if (layout.apeFooter) tags[1] = readApeTexts(tagFile, static_cast<long>(*layout.apeFooter));
  if (layout.id3v1) {
    tags[2] = textsOf(TagLib::ID3v1::Tag(&tagFile, static_cast<long>(*layout.id3v1)), raw);
  }
  return merged(tags);
}

}  // namespace orv::platform
