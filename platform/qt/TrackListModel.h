#pragma once

#include "platform/TrackList.h"

#include <QAbstractTableModel>
#include <QFont>

#include <optional>
#include <vector>

namespace orv::platform {

// The tracks of the window's list as a table: a row per track, with only the columns
// that are shown. The track's number is the row's vertical heading, which a view keeps
// in place while the rows scroll, as it keeps the column headings.
//
//   TrackListModel m;
//   m.setTracks({{"Intro", "0:03:25"}});
//   m.headerData(0, Qt::Vertical, Qt::DisplayRole) == "1"
//   m.index(0, int(TrackListModel::Column::kTitle)).data() == "Intro"
class TrackListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum class Column { kTitle, kPlayTime };
  static constexpr int kColumns = 2;

  explicit TrackListModel(QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // Replaces the tracks. The rows that both albums have stay (a view keeps their
  // selection and where it has scrolled to), with their texts changed; the rest are
  // removed or inserted.
  void setTracks(std::vector<ListedTrack> tracks);

  // The font of the headings. Header views styled by a style sheet paint with their
  // parent's font, not their own.
  void setHeaderFont(const QFont& font) { headerFont_ = font; }

 private:
  const QString& text(const QModelIndex& index) const;

  std::vector<ListedTrack> tracks_;
  std::optional<QFont> headerFont_;
};

}  // namespace orv::platform
