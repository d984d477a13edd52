#pragma once

#include "platform/TrackDetails.h"
#include "platform/taglib/TagLayout.h"

#include <QByteArray>

namespace orv::platform {

class ReadAheadResults;

// Details from the files' own tags (TagLib) and exact play times (libmpg123). With
// read-ahead, the files named to readAhead() are read on a few threads of their own
// (TagReadAhead), ahead of their own reading, which then takes what they found. Several
// albums may read ahead at once.
//
//   TagLibTrackDetails window;                     // reads ahead
//   TagLibTrackDetails batch(/*readAhead=*/false);
//   window.read("/music/album/01_Intro.mp3").playTime == "0:03:25"
class TagLibTrackDetails final : public TrackDetailsReader {
 public:
  explicit TagLibTrackDetails(bool readAhead = true);
  // Reads ahead into `results`, and takes what was read there.
  explicit TagLibTrackDetails(std::shared_ptr<ReadAheadResults> results);
  ~TagLibTrackDetails() override;

  TrackDetails read(const QString& path) override;
  std::unique_ptr<TrackReadAhead> readAhead(std::vector<QString> paths) override;

 private:
  std::shared_ptr<ReadAheadResults> results_;  // null without read-ahead
};

// The details of the open `file`, whose tags lie where `layout` says: its texts as
// readTrackTexts reads them (`name` only labels the file), its play time from
// readAudioLength.
//
//   const TrackFile file(fd.get());
//   readTrackDetails(file, "01.mp3", findTagLayout(file)).playTime == "0:03:25"
TrackDetails readTrackDetails(const TrackFile& file, const QByteArray& name,
                              const TagLayout& layout);

}  // namespace orv::platform
