#pragma once

#include "core/CheckedInt.h"

#include <QString>

namespace orv {

// Milliseconds of a play time "H:MM:SS". Fewer than two colons give 1000 (unknown).
// Pieces are read as decimal numbers (blanks ignored, rounded half to even, 16-bit);
// the total is checked in 32 bits. Raises ErrorCode::kOverflow for a piece or total out of
// range or a text of 32,767 characters or more, and kSubscriptOutOfRange for a third colon.
//
//   PlayTimeToMilliseconds("0:03:25") == 205000
//   PlayTimeToMilliseconds("3:25")    == 1000
Int32 PlayTimeToMilliseconds(QString text);

}  // namespace orv
