#pragma once

#include "platform/TrackList.h"

#include <QTableView>

namespace orv::platform {

class TrackListModel;

// The track list on a QTableView over its own TrackListModel, at the window's fixed
// widths: the number column 53 pixels (the view's row headings), the title 333, the play
// time 67. The view is named "trackGrid"; screen readers get it as the table "曲の一覧".
//
//   QtTrackList list(window);
//   list.view()->setGeometry(12, 116, 481, 257);
//   list.show({{"Intro", "0:03:25"}});
class QtTrackList : public TrackList {
 public:
  explicit QtTrackList(QWidget* parent);

  QTableView* view() const { return view_; }
  TrackListModel& model() const { return *model_; }

  void show(std::vector<ListedTrack> tracks) override;

 private:
  QTableView* view_;
  TrackListModel* model_;
};

}  // namespace orv::platform
