#pragma once

#include "platform/DetailSource.h"

namespace orv::platform {

// Details from the files' own tags (TagLib) and exact play times (libmpg123).
class TagLibDetailSourceFactory : public DetailSourceFactory {
 public:
  std::unique_ptr<DetailSource> create() override;
};

}  // namespace orv::platform
