#include "text/Evidence.h"

#include "text/SingleByteReadings.h"

#include <algorithm>
#include <cstdlib>

namespace orv::text {

Choice chooseBy(const Evidence& evidence) {
  const auto& p = evidence.plausibility;
  const bool japanese = p[kJapanesePage] != Evidence::kNoReading;
  const int bar = japanese ? std::max(p[kWesternPage], p[kJapanesePage]) : p[kWesternPage];
  // The most plausible challenger (the earliest of equals) and the next.
  std::optional<std::size_t> best, next;
  for (std::size_t page = 0; page < kCodePages.size(); ++page) {
    if (kCodePages[page].standing != Standing::kChallenger || p[page] == Evidence::kNoReading) {
      continue;
    }
    if (!best || p[page] > p[*best]) {
      next = best;
      best = page;
    } else if (!next || p[page] > p[*next]) {
      next = page;
    }
  }
  Choice choice;
  const auto closer = [&](int margin) {
    choice.margin = std::min(choice.margin.value_or(margin), margin);
  };
  if (best) {
    const int over = p[*best] - (bar + kCodePages[*best].margin);
    if (over > 0) {
      choice.page = *best;
      closer(over);
      if (next) closer(p[*best] - p[*next]);
      return choice;
    }
    closer(-over);
  }
  if (japanese) {
    closer(std::abs(evidence.japaneseOverWestern) * kPoint);
    if (evidence.japaneseOverWestern >= 0) choice.page = kJapanesePage;
  }
  return choice;
}

}  // namespace orv::text
