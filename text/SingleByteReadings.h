#pragma once

#include "text/CodePages.h"

#include <QByteArrayView>
#include <QVarLengthArray>

#include <optional>

namespace orv::text {

// Half-bits a point of the Japanese and Western weights (JapaneseWeights.h,
// WesternWeights.h) is worth.
inline constexpr int kPoint = 5;

// The Western (Windows-1252) reading of some bytes, byte by byte: a letter by its letter
// pairs (LetterPairs.h), any other byte outside ASCII by its Western weight, kPoint
// half-bits a point; 0 for ASCII.
//
//   readWestern("Andr\xE9s").plausibility == *letterPlausibility(kCodePages[kWesternPage],
//                                                                "Andr\xE9s", 4)
//   readWestern("Don\x92t").plausibility == 3 * kPoint   // ’ is no letter
struct WesternReading {
  QVarLengthArray<int, 64> bytes;  // each byte's share
  int plausibility = 0;
};
WesternReading readWestern(QByteArrayView s);

// How plausible the reading of `s` in the single-byte page `page` is: like the Western
// reading wherever it has the same character, by its own letter pairs where it has another
// letter, and as a rare mark (-6) where it has another mark. nullopt when a byte is no
// character of `page`.
//
//   const CodePage& central = kCodePages[pageNamed("windows-1250")];
//   const WesternReading western = readWestern("Dvo\xF8\xE1k");  // "Dvoøák": -27
//   singleBytePlausibility(central, "Dvo\xF8\xE1k", western) == -5  // "Dvořák"
//   singleBytePlausibility(central, "\x98", readWestern("\x98")) == std::nullopt
std::optional<int> singleBytePlausibility(const CodePage& page, QByteArrayView s,
                                          const WesternReading& western);

}  // namespace orv::text
