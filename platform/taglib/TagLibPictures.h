#pragma once

#include "platform/TagPictures.h"

namespace orv::platform {

// The pictures of ID3v2 tags (2.2, 2.3, 2.4), read by TagLib from the tag with only what
// is asked for of its pictures (readSparseId3v2Tag); a tag that can't be read so is read
// whole.
class TagLibPictures final : public TagPictures {
 public:
  std::vector<PictureKind> picturesOf(const QString& path) override;
  std::optional<QByteArray> pictureOf(const QString& path, std::size_t index) override;
};

}  // namespace orv::platform
