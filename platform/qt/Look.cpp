#include "platform/qt/Look.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QStringList>
#include <QTableView>

#include <algorithm>

namespace orv::platform::look {

namespace {

// The fonts the window was drawn for first, where they are installed; then
// metric-compatible Japanese fonts that Linux distributions ship. Without the list a
// missing family falls back to a Latin font with Japanese glyphs borrowed from elsewhere.
QFont japaneseFont(const QStringList& families, double points) {
  QFont font;
  font.setFamilies(families);
  font.setPointSizeF(points);
  font.setWeight(QFont::Normal);
  font.setItalic(false);
  font.setUnderline(false);
  return font;
}

// The grid's two font sizes. The cells take the smaller: a play time "0:00:00" has to fit
// its 67 pixels; the headings and the row numbers take the larger, which still fits
// "32766" into the number column's 53 pixels.
constexpr double kHeadingPoints = 14.25;
constexpr double kCellPoints = 12;

QString gridStyleSheet() {
  auto rgb = [](const QColor& c) {
    return QStringLiteral("rgb(%1, %2, %3)").arg(c.red()).arg(c.green()).arg(c.blue());
  };
  return QStringLiteral(
             "QTableView { background-color: white; color: black; gridline-color: %1;"
             " selection-background-color: %2; selection-color: white; }"
             "QHeaderView { background-color: white; }"
             "QHeaderView::section, QTableCornerButton::section { background-color: %3;"
             " color: black; border: none; border-right: 1px solid %1;"
             " border-bottom: 1px solid %1; padding: 0px 2px; }")
      .arg(rgb(kLightGrey), rgb(kLightBlue), rgb(kLightGreen));
}

}  // namespace

QFont uiFont(double points) {
  return japaneseFont({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                       QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")},
                      points);
}

QFont gridFont(double points) {
  QFont font = japaneseFont({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"),
                             QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans Mono CJK JP")},
                            points);
  font.setStyleHint(QFont::TypeWriter);
  return font;
}

QIcon appIcon() { return QIcon(QStringLiteral(":/orv/orv.png")); }

QFont styleGrid(QTableView& view) {
  const QFont cellFont = gridFont(kCellPoints);
  const QFont headingFont = gridFont(kHeadingPoints);
  view.setStyleSheet(gridStyleSheet());
  view.setFont(cellFont);
  const int rowHeight =
      std::max(QFontMetrics(cellFont).height(), QFontMetrics(headingFont).height()) + 4;
  for (QHeaderView* header : {view.horizontalHeader(), view.verticalHeader()}) {
    header->setFont(headingFont);
  }
  view.verticalHeader()->setMinimumSectionSize(rowHeight);
  view.verticalHeader()->setDefaultSectionSize(rowHeight);
  view.horizontalHeader()->setFixedHeight(rowHeight);
  return headingFont;
}

}  // namespace orv::platform::look
