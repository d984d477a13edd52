#pragma once

#include <QString>

namespace orv::platform {

// Centred horizontally and vertically, for Grid::setCellAlignment.
inline constexpr int kAlignCenterCenter = 4;

// The track grid: a table with one fixed header row and one fixed number column.
// Widths are in twips (15 per pixel); a width of 0 hides the column.
//
//   grid.Clear(); grid.setCols(7); grid.setRows(n + 1);
//   grid.setRow(0); grid.setCol(4); grid.setCellAlignment(kAlignCenterCenter);
//   grid.setText("曲名");
class Grid {
 public:
  virtual ~Grid() = default;

  // Empties every cell, text and alignment.
  virtual void Clear() = 0;
  virtual void setCols(int cols) = 0;
  virtual void setRows(int rows) = 0;
  virtual void setColWidth(int col, int twips) = 0;
  virtual void setTextMatrix(int row, int col, const QString& text) = 0;
  // Select the current cell.
  virtual void setRow(int row) = 0;
  virtual void setCol(int col) = 0;
  // Alignment and text of the current cell.
  virtual void setCellAlignment(int alignment) = 0;
  virtual void setText(const QString& text) = 0;

  // Read back, for tests and inspection.
  virtual int cols() const = 0;
  virtual int rows() const = 0;
  virtual int row() const = 0;
  virtual int col() const = 0;
  virtual int colWidth(int col) const = 0;
  virtual QString textMatrix(int row, int col) const = 0;
  virtual int cellAlignment(int row, int col) const = 0;  // 0 when never set
};

}  // namespace orv::platform
