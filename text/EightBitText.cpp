#include "text/EightBitText.h"

#include "text/Evidence.h"
#include "text/JapaneseWeights.h"
#include "text/Utf8.h"
#include "text/WesternWeights.h"

namespace orv::text {

const Reading& chosenReading(const EightBitReadings& readings) {
  Evidence evidence;
  const Reading* byPage[kCodePages.size()] = {};
  for (const Reading& reading : readings.readings) {
    evidence.plausibility[reading.page] = reading.plausibility;
    byPage[reading.page] = &reading;
  }
  evidence.japaneseOverWestern =
      readings.japaneseWeight - weighWindows1252(byPage[kWesternPage]->bytes);
  return *byPage[chooseBy(evidence).page];
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
