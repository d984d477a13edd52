#pragma once

#include "platform/TagPictures.h"

namespace orv::platform {

// The pictures of ID3v2 tags (2.2, 2.3, 2.4), read by TagLib.
class TagLibPictures final : public TagPictures {
 public:
  std::optional<QByteArray> coverOf(const QString& path) override;
};

}  // namespace orv::platform
