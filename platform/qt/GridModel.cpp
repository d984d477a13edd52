#include "platform/qt/GridModel.h"

#include <algorithm>

namespace orv::platform {

namespace {

// The grid's cell alignments 0 to 8 (left/centre/right, each top/centre/bottom).
constexpr Qt::Alignment kAlignments[] = {
    Qt::AlignLeft | Qt::AlignTop,
    Qt::AlignLeft | Qt::AlignVCenter,
    Qt::AlignLeft | Qt::AlignBottom,
    Qt::AlignHCenter | Qt::AlignTop,
    Qt::AlignCenter,
    Qt::AlignHCenter | Qt::AlignBottom,
    Qt::AlignRight | Qt::AlignTop,
    Qt::AlignRight | Qt::AlignVCenter,
    Qt::AlignRight | Qt::AlignBottom,
};

bool isNumber(const QString& text) {
  bool ok = false;
  text.toDouble(&ok);
  return ok;
}

}  // namespace

GridModel::GridModel(QObject* parent) : QAbstractTableModel(parent) {
  cells_.resize(static_cast<std::size_t>(rows_ * cols_));
}

int GridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int GridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : cols_; }

QVariant GridModel::data(const QModelIndex& index, int role) const {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid)) return {};
  switch (role) {
    case Qt::DisplayRole:
      return text(index.row(), index.column());
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(qtAlignment(index.row(), index.column()));
    default:
      return {};
  }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  const bool horizontal = orientation == Qt::Horizontal;
  const int row = horizontal ? 0 : section;
  const int col = horizontal ? section : 0;
  if (section < 0 || row >= rows_ || col >= cols_) return {};
  switch (role) {
    case Qt::DisplayRole:
      return text(row, col);
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(qtAlignment(row, col));
    case Qt::FontRole:
      return fixedFont_ ? QVariant(*fixedFont_) : QVariant();
    default:
      return {};
  }
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid)) return Qt::NoItemFlags;
  // The fixed row and column are headers: they can be seen, not selected.
  if (index.row() == 0 || index.column() == 0) return Qt::ItemIsEnabled;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void GridModel::setShape(int rows, int cols) {
  flushChanges();  // reported areas must be valid when they are reported
  // Columns first, then rows; views learn of each change around the storage's own.
  if (cols > cols_) {
    beginInsertColumns({}, cols_, cols - 1);
    resizeStorage(rows_, cols);
    cols_ = cols;
    endInsertColumns();
  } else if (cols < cols_) {
    beginRemoveColumns({}, cols, cols_ - 1);
    resizeStorage(rows_, cols);
    cols_ = cols;
    endRemoveColumns();
  }
  if (rows > rows_) {
    beginInsertRows({}, rows_, rows - 1);
    resizeStorage(rows, cols_);
    rows_ = rows;
    endInsertRows();
  } else if (rows < rows_) {
    beginRemoveRows({}, rows, rows_ - 1);
    resizeStorage(rows, cols_);
    rows_ = rows;
    endRemoveRows();
  }
}

void GridModel::resizeStorage(int rows, int cols) {
  if (cols == cols_) {
    // Rows are stored one after the other: growing or cutting the tail is enough.
    cells_.resize(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols));
  } else {
    std::vector<QString> cells(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols));
    const int keptRows = std::min(rows, rows_);
    const int keptCols = std::min(cols, cols_);
    for (int r = 0; r < keptRows; ++r) {
      for (int c = 0; c < keptCols; ++c) {
        cells[static_cast<std::size_t>(r * cols + c)] =
            std::move(cells_[static_cast<std::size_t>(r * cols_ + c)]);
      }
    }
    cells_ = std::move(cells);
  }
  alignments_.removeIf([&](const auto& entry) {
    const int row = int(entry.key() >> 32);
    const int col = int(quint32(entry.key()));
    return row >= rows || col >= cols;
  });
}

void GridModel::clear() {
  std::fill(cells_.begin(), cells_.end(), QString());
  alignments_.clear();
  if (rows_ > 0 && cols_ > 0) {
    markChanged(0, 0);
    markChanged(rows_ - 1, cols_ - 1);
  }
}

const QString& GridModel::text(int row, int col) const {
  return cells_[static_cast<std::size_t>(row) * static_cast<std::size_t>(cols_) +
                static_cast<std::size_t>(col)];
}

void GridModel::setText(int row, int col, const QString& text) {
  cells_[static_cast<std::size_t>(row) * static_cast<std::size_t>(cols_) +
         static_cast<std::size_t>(col)] = text;
  markChanged(row, col);
}

int GridModel::alignment(int row, int col) const { return alignments_.value(key(row, col), 0); }

void GridModel::setAlignment(int row, int col, int alignment) {
  alignments_.insert(key(row, col), alignment);
  markChanged(row, col);
}

Qt::Alignment GridModel::qtAlignment(int row, int col) const {
  auto it = alignments_.constFind(key(row, col));
  if (it != alignments_.cend() && *it >= 0 && *it < int(std::size(kAlignments))) {
    return kAlignments[*it];
  }
  // The grid's general alignment: numbers to the right, other texts to the left.
  return (isNumber(text(row, col)) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
}

void GridModel::markChanged(int row, int col) {
  changed_ = changed_.united(QRect(col, row, 1, 1));
  if (!flushQueued_) {
    flushQueued_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
          flushQueued_ = false;
          flushChanges();
        },
        Qt::QueuedConnection);
  }
}

void GridModel::flushChanges() {
  if (changed_.isEmpty()) return;
  const QRect area = changed_;
  changed_ = QRect();
  emit dataChanged(index(area.top(), area.left()), index(area.bottom(), area.right()));
  if (area.top() == 0) emit headerDataChanged(Qt::Horizontal, area.left(), area.right());
  if (area.left() == 0) emit headerDataChanged(Qt::Vertical, area.top(), area.bottom());
}

}  // namespace orv::platform
