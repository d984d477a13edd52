#pragma once

#include <QString>

#include <vector>

namespace orv::platform {

// What the window's track list shows of one track.
struct ListedTrack {
  QString title;
  QString playTime;
  bool operator==(const ListedTrack&) const = default;
};

// The main window's list of the album's tracks: a row per track, numbered from 1, with
// its title and play time under the headings "曲名" and "時間". Columns, widths and
// alignment are the window's own.
//
//   list.show({{"Intro", "0:03:25"}, {"Outro", "0:04:10"}});  // rows "1" and "2"
//   list.show(std::vector<ListedTrack>(1));                    // one empty row, "1"
class TrackList {
 public:
  virtual ~TrackList() = default;
  // Shows `tracks` in their order, in place of what the list showed.
  virtual void show(std::vector<ListedTrack> tracks) = 0;
};

}  // namespace orv::platform
