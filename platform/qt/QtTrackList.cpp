#include "platform/qt/QtTrackList.h"

#include "platform/qt/Look.h"
#include "platform/qt/TrackListModel.h"

#include <QHeaderView>

namespace orv::platform {

namespace {

constexpr int kNumberWidth = 53;
constexpr int kTitleWidth = 333;
constexpr int kPlayTimeWidth = 67;

}  // namespace

QtTrackList::QtTrackList(QWidget* parent)
    : view_(new QTableView(parent)), model_(new TrackListModel(view_)) {
  view_->setObjectName(QStringLiteral("trackGrid"));
  view_->setAccessibleName(QStringLiteral("曲の一覧"));
  view_->setModel(model_);
  model_->setHeaderFont(look::styleGrid(*view_));
  view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view_->setSelectionMode(QAbstractItemView::SingleSelection);
  view_->setTabKeyNavigation(false);  // Tab moves on to the next control
  view_->setWordWrap(false);
  view_->setCornerButtonEnabled(false);
  for (QHeaderView* header : {view_->horizontalHeader(), view_->verticalHeader()}) {
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
  }
  view_->verticalHeader()->setFixedWidth(kNumberWidth);
  view_->setColumnWidth(int(TrackListModel::Column::kTitle), kTitleWidth);
  view_->setColumnWidth(int(TrackListModel::Column::kPlayTime), kPlayTimeWidth);
}

void QtTrackList::show(std::vector<ListedTrack> tracks) { model_->setTracks(std::move(tracks)); }

}  // namespace orv::platform
