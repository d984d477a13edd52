#pragma once

#include "platform/Grid.h"

#include <QTableView>

#include <vector>

namespace orv::platform {

class GridModel;

// The track grid on a QTableView over its own GridModel. Row 0 and column 0 are the
// fixed header row and number column: real cells of the grid, shown by the view's
// headers so they stay in place while the rows scroll. The current cell (Row, Col) is
// the grid's write position only; it does not move the view's selection.
//
//   QtGrid grid(window);
//   grid.view()->setGeometry(12, 116, 481, 257);
//   SetUpTrackGrid(grid, 1);
//
// Invalid sizes and widths raise ErrorCode::kInvalidPropertyValue, cells outside the grid
// ErrorCode::kInvalidPropertyIndex.
class QtGrid : public Grid {
 public:
  explicit QtGrid(QWidget* parent);
  ~QtGrid() override;

  QTableView* view() const { return view_; }
  GridModel& model() const { return *model_; }

  void Clear() override;
  void setCols(int cols) override;
  void setRows(int rows) override;
  void setColWidth(int col, int twips) override;
  void setTextMatrix(int row, int col, const QString& text) override;
  void setRow(int row) override;
  void setCol(int col) override;
  void setCellAlignment(int alignment) override;
  void setText(const QString& text) override;

  int cols() const override;
  int rows() const override;
  int row() const override { return row_; }
  int col() const override { return col_; }
  int colWidth(int col) const override;
  QString textMatrix(int row, int col) const override;
  int cellAlignment(int row, int col) const override;

 private:
  void checkCell(int row, int col) const;
  void applyShape();
  void applyColWidth(int col);

  QTableView* view_;
  GridModel* model_;
  std::vector<int> widths_;  // twips, one per column
  int row_ = 0;
  int col_ = 0;
};

}  // namespace orv::platform
