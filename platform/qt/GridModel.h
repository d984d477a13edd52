#pragma once

#include <QAbstractTableModel>
#include <QFont>
#include <QHash>
#include <QRect>
#include <QString>

#include <optional>
#include <vector>

namespace orv::platform {

// The cells of the track grid: every row and column, the fixed header row 0 and number
// column 0 included, so row and column numbers mean what the grid's callers mean by them.
// Views see row 0 and column 0 also as header data (headerData), which lets a view keep
// them in place while the rest scrolls.
//
// Cell writes do not notify at once: a grid of 32,766 rows is written cell by cell, so
// the model collects the changed area and reports it in one dataChanged when control
// returns to the event loop (or before the next change of shape).
//
//   GridModel m;                 // 2 rows, 2 columns, like a fresh grid
//   m.setShape(11, 7);
//   m.setText(10, 0, "10");      // m.text(10, 0) == "10" at once; views learn it later
class GridModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit GridModel(QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  int rows() const { return rows_; }
  int cols() const { return cols_; }
  // Resizes to `rows` x `cols`, keeping the cells that still fit; new cells are empty.
  void setShape(int rows, int cols);
  // Empties every cell's text and alignment; the shape stays.
  void clear();

  // Callers keep (row, col) inside the shape.
  const QString& text(int row, int col) const;
  void setText(int row, int col, const QString& text);
  int alignment(int row, int col) const;  // 0 when never set
  void setAlignment(int row, int col, int alignment);

  // The font of the fixed row and column, which views show as headers. Header views
  // styled by a style sheet paint with their parent's font, not their own.
  void setFixedFont(const QFont& font) { fixedFont_ = font; }

  // Reports the cells written since the last report. Runs on its own from the event
  // loop; call it to have views up to date at once.
  void flushChanges();

 private:
  void markChanged(int row, int col);
  void resizeStorage(int rows, int cols);
  Qt::Alignment qtAlignment(int row, int col) const;
  static qint64 key(int row, int col) { return (qint64(row) << 32) | quint32(col); }

  int rows_ = 2;
  int cols_ = 2;
  std::vector<QString> cells_;  // row by row
  QHash<qint64, int> alignments_;
  std::optional<QFont> fixedFont_;
  QRect changed_;  // x = column, y = row; empty when nothing is pending
  bool flushQueued_ = false;
};

}  // namespace orv::platform
