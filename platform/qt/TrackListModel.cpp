#include "platform/qt/TrackListModel.h"

namespace orv::platform {

namespace {

// Numbers to the right, other texts to the left, as a grid aligns what it is not told
// to align otherwise.
Qt::Alignment alignmentOf(const QString& text) {
  bool number = false;
  text.toDouble(&number);
  return (number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
}

}  // namespace

TrackListModel::TrackListModel(QObject* parent) : QAbstractTableModel(parent) {}

int TrackListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(tracks_.size());
}

int TrackListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumns;
}

const QString& TrackListModel::text(const QModelIndex& index) const {
  const ListedTrack& track = tracks_[static_cast<std::size_t>(index.row())];
  return Column(index.column()) == Column::kTitle ? track.title : track.playTime;
}

QVariant TrackListModel::data(const QModelIndex& index, int role) const {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid)) return {};
  switch (role) {
    case Qt::DisplayRole:
      return text(index);
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(alignmentOf(text(index)));
    default:
      return {};
  }
}

QVariant TrackListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  const bool horizontal = orientation == Qt::Horizontal;
  if (section < 0 || section >= (horizontal ? kColumns : rowCount())) return {};
  const QString number = horizontal ? QString() : QString::number(section + 1);
  switch (role) {
    case Qt::DisplayRole:
      if (!horizontal) return number;
      return Column(section) == Column::kTitle ? QStringLiteral("曲名") : QStringLiteral("時間");
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(horizontal ? Qt::Alignment(Qt::AlignCenter) : alignmentOf(number));
    case Qt::FontRole:
      return headerFont_ ? QVariant(*headerFont_) : QVariant();
    default:
      return {};
  }
}

Qt::ItemFlags TrackListModel::flags(const QModelIndex& index) const {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid)) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void TrackListModel::setTracks(std::vector<ListedTrack> tracks) {
  const int before = rowCount();
  const int after = static_cast<int>(tracks.size());
  if (after < before) {
    beginRemoveRows({}, after, before - 1);
    tracks_.resize(tracks.size());
    endRemoveRows();
  } else if (after > before) {
    beginInsertRows({}, before, after - 1);
    tracks_.resize(tracks.size());
    endInsertRows();
  }
  tracks_ = std::move(tracks);
  if (after > 0) emit dataChanged(index(0, 0), index(after - 1, kColumns - 1));
}

}  // namespace orv::platform
