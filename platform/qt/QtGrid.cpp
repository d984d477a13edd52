#include "platform/qt/QtGrid.h"

#include "core/RuntimeError.h"
#include "platform/qt/GridModel.h"
#include "platform/qt/Look.h"

#include <QHeaderView>

namespace orv::platform {

namespace {

constexpr int kDefaultColWidth = 960;  // twips, what a new column gets

RuntimeError invalidValue(const QString& what) {
  return RuntimeError(ErrorCode::kInvalidPropertyValue,
                      QStringLiteral("グリッドの%1に無効な値が指定されました。").arg(what));
}

}  // namespace

QtGrid::QtGrid(QWidget* parent) : view_(new QTableView(parent)), model_(new GridModel(view_)) {
  view_->setObjectName(QStringLiteral("trackGrid"));
  view_->setModel(model_);
  model_->setFixedFont(look::styleGrid(*view_));
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
  widths_.assign(static_cast<std::size_t>(model_->cols()), kDefaultColWidth);
  applyShape();
}

QtGrid::~QtGrid() = default;

void QtGrid::Clear() { model_->clear(); }

void QtGrid::setCols(int cols) {
  if (cols < 1) throw invalidValue(QStringLiteral("列数"));
  model_->setShape(model_->rows(), cols);
  widths_.resize(static_cast<std::size_t>(cols), kDefaultColWidth);
  if (col_ >= cols) col_ = cols - 1;
  applyShape();
}

void QtGrid::setRows(int rows) {
  if (rows < 1) throw invalidValue(QStringLiteral("行数"));
  model_->setShape(rows, model_->cols());
  if (row_ >= rows) row_ = rows - 1;
  applyShape();
}

void QtGrid::setColWidth(int col, int twips) {
  checkCell(0, col);
  if (twips < 0) throw invalidValue(QStringLiteral("列幅"));
  widths_[static_cast<std::size_t>(col)] = twips;
  applyColWidth(col);
}

void QtGrid::setTextMatrix(int row, int col, const QString& text) {
  checkCell(row, col);
  model_->setText(row, col, text);
}

void QtGrid::setRow(int row) {
  checkCell(row, 0);
  row_ = row;
}

void QtGrid::setCol(int col) {
  checkCell(0, col);
  col_ = col;
}

void QtGrid::setCellAlignment(int alignment) { model_->setAlignment(row_, col_, alignment); }

void QtGrid::setText(const QString& text) { model_->setText(row_, col_, text); }

int QtGrid::cols() const { return model_->cols(); }

int QtGrid::rows() const { return model_->rows(); }

int QtGrid::colWidth(int col) const {
  checkCell(0, col);
  return widths_[static_cast<std::size_t>(col)];
}

QString QtGrid::textMatrix(int row, int col) const {
  checkCell(row, col);
  return model_->text(row, col);
}

int QtGrid::cellAlignment(int row, int col) const {
  checkCell(row, col);
  return model_->alignment(row, col);
}

void QtGrid::checkCell(int row, int col) const {
  if (row < 0 || row >= model_->rows() || col < 0 || col >= model_->cols()) {
    throw RuntimeError(ErrorCode::kInvalidPropertyIndex,
                       QStringLiteral("グリッドの行 %1、列 %2 はありません（%3 行 × %4 列）。")
                           .arg(row)
                           .arg(col)
                           .arg(model_->rows())
                           .arg(model_->cols()));
  }
}

// Row 0 and column 0 are on show in the headers, so the view's own row 0 and column 0
// stay hidden. Hidden sections are per section: new ones need the same treatment.
void QtGrid::applyShape() {
  view_->setRowHidden(0, true);
  for (int col = 0; col < model_->cols(); ++col) applyColWidth(col);
}

void QtGrid::applyColWidth(int col) {
  const int pixels = look::twipsToPixels(widths_[static_cast<std::size_t>(col)]);
  if (col == 0) {
    view_->setColumnHidden(0, true);
    view_->verticalHeader()->setVisible(pixels > 0);
    view_->verticalHeader()->setFixedWidth(pixels);
    return;
  }
  view_->setColumnHidden(col, pixels == 0);
  if (pixels > 0) view_->setColumnWidth(col, pixels);
}

}  // namespace orv::platform
