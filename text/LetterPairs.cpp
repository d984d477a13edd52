#include "text/LetterPairs.h"

#include "text/Bytes.h"

#include <algorithm>

namespace orv::text {
namespace {

constexpr int kBase = 28;           // two pairs' worth of random bytes, 7 bits each, less the
                                    // letter after's own odds
constexpr int kCaseBreakCost = 16;  // "aB" inside a word
constexpr int kMixedScriptCost = 40;

struct Letter {
  int index = 0;  // 0: no letter, a word's edge
  bool capital = false;
  bool ascii = false;
};

Letter letterAt(const LetterModel& model, QByteArrayView s, qsizetype i) {
  if (i < 0 || i >= s.size()) return {};
  const Byte b = static_cast<Byte>(s[i]);
  if (b >= 'a' && b <= 'z') return {b - 'a' + 1, false, true};
  if (b >= 'A' && b <= 'Z') return {b - 'A' + 1, true, true};
  if (b < 0x80) return {};
  const int code = model.letters[b - 0x80];
  return {code / 2, code % 2 == 1, false};
}

}  // namespace

std::optional<int> letterPlausibility(const CodePage& page, QByteArrayView s, qsizetype i) {
  const LetterModel& model = page.letters;
  const bool western = page.standing == Standing::kWestern;
  const Letter self = letterAt(model, s, i);
  if (self.index == 0) return std::nullopt;
  const Letter before = letterAt(model, s, i - 1), after = letterAt(model, s, i + 1);
  const auto pairCost = [&](const Letter& a, const Letter& b) {
    return frequencies::cost(model.pairs[a.index * *model.alphabet + b.index]);
  };
  int weight = kBase - pairCost(before, self) - pairCost(self, after);
  if (before.index != 0 && !before.capital && self.capital) weight -= kCaseBreakCost;
  if (after.index != 0 && !self.capital && after.capital) weight -= kCaseBreakCost;
  // Nor does a word in capitals go on in small letters ("ЖУКч"), outside Western names
  // like "McDONALD's".
  if (!western && !self.capital && before.capital && letterAt(model, s, i - 2).capital) {
    weight -= kCaseBreakCost;
  }
  if (!model.latinScript) weight -= kMixedScriptCost * (int(before.ascii) + int(after.ascii));
  // A one-letter word is as likely a Western one ("à", "è"), which Windows-1252 reads.
  if (!western && before.index == 0 && after.index == 0) weight = std::min(weight, 0);
  return weight;
}

}  // namespace orv::text
