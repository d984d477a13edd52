#include "text/EightBitText.h"

#include "text/JapaneseWeights.h"
#include "text/Utf8.h"
#include "text/WesternWeights.h"

#include <algorithm>

namespace orv::text {

const Reading& chosenReading(const EightBitReadings& readings) {
  const Reading* japanese = nullptr;
  const Reading* western = nullptr;
  const Reading* challenger = nullptr;  // the most plausible, the earliest of equals
  for (const Reading& reading : readings.readings) {
    switch (kCodePages[reading.page].standing) {
      case Standing::kJapanese:
        japanese = &reading;
        break;
      case Standing::kWestern:
        western = &reading;
        break;
      case Standing::kChallenger:
        if (!challenger || reading.plausibility > challenger->plausibility) challenger = &reading;
        break;
    }
  }
  int bar = western->plausibility;
  if (japanese) bar = std::max(bar, japanese->plausibility);
  if (challenger && challenger->plausibility > bar + kCodePages[challenger->page].margin) {
    return *challenger;
  }
  if (japanese && readings.japaneseWeight >= weighWindows1252(western->bytes)) return *japanese;
  return *western;
}

QString decodeEightBitText(QByteArrayView bytes, EightBitField kind) {
  const FieldBytes field = fieldBytes(bytes, kind);
  if (auto text = asciiOrUtf8(field)) return *text;
  return textOf(chosenReading(readEightBitText(field)));
}

EightBitWeights weighEightBitText(QByteArrayView bytes, EightBitField kind) {
  const FieldBytes field = fieldBytes(bytes, kind);
  const JapaneseWeight japanese = weighCp932(field);
  return {japanese.valid, japanese.weight, weighWindows1252(field.bytes)};
}

}  // namespace orv::text
