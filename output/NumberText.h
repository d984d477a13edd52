#pragma once

#include "core/CheckedInt.h"

#include <QStringView>

namespace orv {

// Reads the number a text begins with, the way play-time pieces are read: spaces, tabs
// and line feeds are skipped wherever they stand; then an optional sign, digits and an
// optional decimal point with more digits; reading stops at the first other character,
// and a text without digits reads 0. No exponent ("1E3" reads 1) and no radix prefix
// ("&H10" reads 0). The value is rounded to the nearest integer, halves to the even one,
// exactly (no floating point). A result outside 16 bits raises ErrorCode::kOverflow.
//
//   ReadRoundedNumber(u" 1 2.5x") == 12   // "12.5", halfway, to the even 12
//   ReadRoundedNumber(u"-3.5")    == -4
//   ReadRoundedNumber(u"")        == 0
Int16 ReadRoundedNumber(QStringView text);

}  // namespace orv
