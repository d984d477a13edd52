#include "platform/taglib/TrackTexts.h"

#include "platform/taglib/ApeTexts.h"
#include "platform/taglib/FdStream.h"
#include "platform/taglib/SparseId3v2Tag.h"
#include "platform/taglib/StringHandlers.h"
#include "platform/taglib/TagFile.h"

#include <taglib/id3v1tag.h>
#include <taglib/id3v2framefactory.h>
#include <taglib/id3v2tag.h>

#include <array>

namespace orv::platform {
namespace {

QString toQString(const TagLib::String& text) {
  return QString::fromUtf8(text.toCString(/*unicode=*/true));
}

TrackTexts textsOf(const TagLib::Tag& tag) {
  return {toQString(tag.artist()), toQString(tag.title()), toQString(tag.album())};
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
  installEightBitStringHandlers();
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
                                         TagLib::ID3v2::FrameFactory::instance()));
  }
  if (layout.apeFooter) tags[1] = readApeTexts(tagFile, static_cast<long>(*layout.apeFooter));
  if (layout.id3v1) {
    tags[2] = textsOf(TagLib::ID3v1::Tag(&tagFile, static_cast<long>(*layout.id3v1)));
  }
  return merged(tags);
}

}  // namespace orv::platform
