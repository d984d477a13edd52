#include "output/PlayTime.h"

#include "core/RuntimeError.h"
#include "output/NumberText.h"

#include <array>

namespace orv {

Int32 PlayTimeToMilliseconds(QString text) {
  // Character positions are 16-bit: a text this long can't even be searched.
  if (text.size() >= 32767) throw RuntimeError(ErrorCode::kOverflow);

  std::array<Int16, 2> colons;
  Int16 found = 0;
  for (Int16 i = 0; i < Int16(text.size()); ++i) {
    if (text.at(i.value()) != u':') continue;
    if (found >= Int16(colons.size())) throw RuntimeError(ErrorCode::kSubscriptOutOfRange);
    colons[static_cast<std::size_t>(found.value())] = i;
    ++found;
  }
  if (found < 2) return 1000;  // no usable play time

  const QStringView all(text);
  const qsizetype first = colons[0].value();
  const qsizetype second = colons[1].value();
  const Int16 hours = ReadRoundedNumber(all.first(first));
  const Int16 minutes = ReadRoundedNumber(all.sliced(first + 1, second - first - 1));
  const Int16 seconds = ReadRoundedNumber(all.sliced(second + 1));

  const Int32 hourPart = Int32(hours.value()) * 3600;
  const Int32 minutePart = Int32(minutes.value()) * 60;
  return (hourPart + minutePart + Int32(seconds.value())) * 1000;
}

}  // namespace orv
