#pragma once

#include "platform/DetailSource.h"

namespace orv::platform {

class ReadAheadResults;

// Details from the files' own tags (TagLib) and exact play times (libmpg123). With
// `readAhead`, the files named to readAhead() are read on a few threads of their own
// (TagReadAhead), ahead of their own reading, which then takes what they found. Several
// albums may read ahead at once.
class TagLibDetailSourceFactory : public DetailSourceFactory {
 public:
  explicit TagLibDetailSourceFactory(bool readAhead = true);
  ~TagLibDetailSourceFactory() override;

  std::unique_ptr<DetailSource> create() override;
  std::unique_ptr<TrackReadAhead> readAhead(std::vector<QString> paths) override;

 private:
  std::shared_ptr<ReadAheadResults> results_;  // null without read-ahead
};

}  // namespace orv::platform
