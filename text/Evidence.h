#pragma once

#include "text/CodePages.h"

#include <array>
#include <climits>
#include <cstddef>
#include <optional>

namespace orv::text {

// What the decision between the code pages weighs, of one text or of all the 8-bit texts
// of an album together: how plausible each page's reading is (Readings.h), and how much
// the Japanese reading's weight exceeds the Western one's (JapaneseWeights.h,
// WesternWeights.h; in points).
struct Evidence {
  static constexpr int kNoReading = INT_MIN;
  std::array<int, kCodePages.size()> plausibility = [] {
    std::array<int, kCodePages.size()> none{};
    none.fill(kNoReading);
    return none;
  }();
  int japaneseOverWestern = 0;  // meaningless where the Japanese page reads nothing
};

// The page the evidence decides for (the rule of EightBitText.h, steps 3 and 4), and how
// far the evidence is from deciding otherwise, in half-bits: the least of how much the
// winning challenger exceeds its margin over both the Japanese and the Western reading
// and how much it exceeds the next challenger; or, where the Japanese or Western page
// wins, how far the best challenger is below its margin and how far their weights are
// apart (kPoint half-bits a point). nullopt when no other page reads the text at all.
//
//   // 아이유 in CP949: Japanese -4, Western -28, CP949 46, GB18030 6, Big5 -3, …
//   chooseBy(evidence) == {pageNamed("euc-kr"), 40}   // 46 - 6 < 46 - (-4 + bits(4))
struct Choice {
  std::size_t page = kWesternPage;
  std::optional<int> margin;
  bool operator==(const Choice&) const = default;
};
Choice chooseBy(const Evidence& evidence);

}  // namespace orv::text
