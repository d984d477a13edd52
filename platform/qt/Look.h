#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>

class QTableView;

// The main window's measures, fonts and colours, in one place.
namespace orv::platform::look {

// The window's proportional font ("ＭＳ Ｐゴシック", or the closest Japanese font here).
//
//   label->setFont(look::uiFont(14.25));
QFont uiFont(double points);
// The grid's fixed-width font ("ＭＳ ゴシック", or the closest Japanese font here).
QFont gridFont(double points);

inline const QColor kLightYellow{255, 255, 192};  // the boxed labels
inline const QColor kLightPink{255, 192, 192};    // the status line
inline const QColor kLightGreen{192, 255, 192};   // the grid's headings and numbers
inline const QColor kLightBlue{128, 128, 255};    // the grid's selected cell
inline const QColor kLightGrey{192, 192, 192};    // the grid's lines

// The program's own 32 x 32 icon.
QIcon appIcon();

// Fonts, colours and row height of the track grid. Returns the font of its headings and
// numbers.
QFont styleGrid(QTableView& view);

}  // namespace orv::platform::look
