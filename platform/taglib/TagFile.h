#pragma once

#include <taglib/tfile.h>

namespace orv::platform {

// A file that TagLib's tag classes read from, at offsets the caller found. TagLib's own
// MPEG file would look for the tags itself, and on a file with neither an ID3v2 tag nor
// a frame at its start it hunts through every byte for one (a tenth of a second for 1 MB
// of PCM); findTagLayout already knows where the tags are.
//
//   FdStream stream(fd, name);
//   TagFile file(&stream);
//   TagLib::ID3v2::Tag tag(&file, 0, TagLib::ID3v2::FrameFactory::instance());
class TagFile final : public TagLib::File {
 public:
  explicit TagFile(TagLib::IOStream* stream) : TagLib::File(stream) {}
  TagLib::Tag* tag() const override { return nullptr; }
  TagLib::AudioProperties* audioProperties() const override { return nullptr; }
  bool save() override { return false; }
};

}  // namespace orv::platform
