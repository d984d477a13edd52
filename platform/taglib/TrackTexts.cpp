#include "platform/taglib/TrackTexts.h"

#include "platform/taglib/ApeTexts.h"
#include "platform/taglib/FdStream.h"
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

TrackTexts readTrackTexts(int fd, const QByteArray& name, const TagLayout& layout) {
  installEightBitStringHandlers();
  FdStream stream(fd, name);
  TagFile file(&stream);
  std::array<TrackTexts, 3> tags;  // ID3v2, APE, ID3v1
  if (layout.id3v2) {
    tags[0] = textsOf(TagLib::ID3v2::Tag(&file, static_cast<long>(*layout.id3v2),
                                         TagLib::ID3v2::FrameFactory::instance()));
  }
  if (layout.apeFooter) tags[1] = readApeTexts(file, static_cast<long>(*layout.apeFooter));
  if (layout.id3v1) tags[2] = textsOf(TagLib::ID3v1::Tag(&file, static_cast<long>(*layout.id3v1)));
  return merged(tags);
}

}  // namespace orv::platform
