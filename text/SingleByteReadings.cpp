#include "text/SingleByteReadings.h"

#include "text/Bytes.h"
#include "text/CharacterTables.h"
#include "text/LetterPairs.h"
#include "text/WesternWeights.h"

namespace orv::text {
namespace {

// A symbol or mark where the Western reading has another character.
constexpr int kOtherMarkWeight = -6;

}  // namespace

WesternReading readWestern(QByteArrayView s) {
  const CodePage& page = kCodePages[kWesternPage];
  WesternReading r;
  r.bytes.resize(s.size());
  for (qsizetype i = 0; i < s.size(); ++i) {
    int w = 0;
    if (static_cast<Byte>(s[i]) >= 0x80) {
      const auto letter = letterPlausibility(page, s, i);
      w = letter ? *letter : kPoint * weighWindows1252Byte(s, i);
    }
    r.bytes[i] = w;
    r.plausibility += w;
  }
  return r;
}

std::optional<int> singleBytePlausibility(const CodePage& page, QByteArrayView s,
                                          const WesternReading& western) {
  const auto& characters = highCharacters(page);
  const auto& westernCharacters = highCharacters(kCodePages[kWesternPage]);
  int weight = 0;
  for (qsizetype i = 0; i < s.size(); ++i) {
    const Byte b = static_cast<Byte>(s[i]);
    if (b < 0x80) continue;
    const char16_t c = characters[b - 0x80];
    if (c == 0) return std::nullopt;
    if (c == westernCharacters[b - 0x80]) {
      weight += western.bytes[i];
    } else {
      weight += letterPlausibility(page, s, i).value_or(kOtherMarkWeight);
    }
  }
  return weight;
}

}  // namespace orv::text
