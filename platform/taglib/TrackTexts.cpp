#include "platform/taglib/TrackTexts.h"

#include "platform/taglib/FdStream.h"
#include "platform/taglib/StringHandlers.h"

#include <taglib/apetag.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2framefactory.h>
#include <taglib/id3v2tag.h>
#include <taglib/tfile.h>

#include <array>
#include <memory>

namespace orv::platform {
namespace {

// A file that TagLib's tag classes read from. TagLib's own MPEG file would look for the
// tags itself, and on a file with neither an ID3v2 tag nor a frame at its start it hunts
// through every byte for one (a tenth of a second for 1 MB of PCM); the layout already
// knows where the tags are.
class TagFile final : public TagLib::File {
 public:
  explicit TagFile(TagLib::IOStream* stream) : TagLib::File(stream) {}
  TagLib::Tag* tag() const override { return nullptr; }
  TagLib::AudioProperties* audioProperties() const override { return nullptr; }
  bool save() override { return false; }
};

QString toQString(const TagLib::String& text) {
  return QString::fromUtf8(text.toCString(/*unicode=*/true));
}

// The first tag, in order, whose field is not empty.
template <typename Field>
QString merged(const std::array<const TagLib::Tag*, 3>& tags, Field field) {
  for (const TagLib::Tag* tag : tags) {
    if (tag == nullptr) continue;
    const TagLib::String text = (tag->*field)();
    if (!text.isEmpty()) return toQString(text);
  }
  return {};
}

}  // namespace

TrackTexts readTrackTexts(int fd, const QByteArray& name, const TagLayout& layout) {
  installJapaneseStringHandlers();
  FdStream stream(fd, name);
  TagFile file(&stream);
  std::unique_ptr<TagLib::ID3v2::Tag> id3v2;
  std::unique_ptr<TagLib::APE::Tag> ape;
  std::unique_ptr<TagLib::ID3v1::Tag> id3v1;
  if (layout.id3v2) {
    id3v2 = std::make_unique<TagLib::ID3v2::Tag>(&file, static_cast<long>(*layout.id3v2),
                                                 TagLib::ID3v2::FrameFactory::instance());
  }
  if (layout.apeFooter) {
    ape = std::make_unique<TagLib::APE::Tag>(&file, static_cast<long>(*layout.apeFooter));
  }
  if (layout.id3v1)
    id3v1 = std::make_unique<TagLib::ID3v1::Tag>(&file, static_cast<long>(*layout.id3v1));

  const std::array<const TagLib::Tag*, 3> tags{id3v2.get(), ape.get(), id3v1.get()};
  return {merged(tags, &TagLib::Tag::artist), merged(tags, &TagLib::Tag::title),
          merged(tags, &TagLib::Tag::album)};
}

}  // namespace orv::platform
