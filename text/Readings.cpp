#include "text/Readings.h"

#include "text/Bytes.h"
#include "text/CharacterTables.h"
#include "text/DoubleByteReadings.h"
#include "text/JapaneseWeights.h"
#include "text/SingleByteReadings.h"

#include <optional>

namespace orv::text {
namespace {

// An ID3v1 field cut inside its last character.
constexpr int kCutWeight = -2;

// The Japanese reading, where the bytes have CP932's shape: without the lead byte that a
// cut field ends in.
std::optional<Reading> readJapanese(std::size_t p, const FieldBytes& field,
                                    const JapaneseWeight& shape) {
  if (!shape.valid) return std::nullopt;
  const QByteArrayView whole = shape.cut ? field.bytes.chopped(1) : field.bytes;
  const auto text = decodeStrict(kCodePages[p], whole);
  if (!text) return std::nullopt;
  const auto weight = doubleBytePlausibility(kCodePages[p], whole, *text);
  if (!weight) return std::nullopt;
  return Reading{p, whole, *weight + (shape.cut ? kCutWeight : 0)};
}

// Another double-byte reading: a cut field that the page can't decode may end in a lead
// byte.
std::optional<Reading> readDoubleByte(std::size_t p, const FieldBytes& field) {
  QByteArrayView bytes = field.bytes;
  int cut = 0;
  auto text = decodeStrict(kCodePages[p], bytes);
  if (!text && field.mayBeCut && !bytes.isEmpty() && static_cast<Byte>(bytes.back()) >= 0x81) {
    bytes.chop(1);
    text = decodeStrict(kCodePages[p], bytes);
    cut = kCutWeight;
  }
  if (!text) return std::nullopt;
  const auto weight = doubleBytePlausibility(kCodePages[p], bytes, *text);
  if (!weight) return std::nullopt;
  return Reading{p, bytes, *weight + cut};
}

}  // namespace

EightBitReadings readEightBitText(const FieldBytes& field) {
  EightBitReadings out;
  const JapaneseWeight japanese = weighCp932(field);
  out.japaneseWeight = japanese.weight;
  const WesternReading western = readWestern(field.bytes);
  for (std::size_t p = 0; p < kCodePages.size(); ++p) {
    switch (kCodePages[p].standing) {
      case Standing::kJapanese:
        if (auto reading = readJapanese(p, field, japanese)) out.readings.push_back(*reading);
        break;
      case Standing::kWestern:
        out.readings.push_back({p, field.bytes, western.plausibility});
        break;
      case Standing::kChallenger:
        if (kCodePages[p].width == Width::kDoubleByte) {
          if (auto reading = readDoubleByte(p, field)) out.readings.push_back(*reading);
        } else if (auto weight = singleBytePlausibility(kCodePages[p], field.bytes, western)) {
          out.readings.push_back({p, field.bytes, *weight});
        }
        break;
    }
  }
  return out;
}

QString textOf(const Reading& reading) {
  // A reading is made only of bytes that its page decodes.
  return decodeStrict(kCodePages[reading.page], reading.bytes).value();
}

}  // namespace orv::text
