#include "output/NumberText.h"

#include <algorithm>

namespace orv {
namespace {

bool isBlank(QChar c) { return c == u' ' || c == u'\t' || c == u'\n'; }
bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

}  // namespace

Int16 ReadRoundedNumber(QStringView text) {
  // Far beyond 16 bits yet far from any wrap: bigger magnitudes stay here, still overflow.
  constexpr long long kCeiling = 1'000'000;

  bool negative = false;
  long long magnitude = 0;
  int firstFractionDigit = 0;        // decides the rounding
  bool laterFractionDigits = false;  // any non-zero digit after the first: above halfway

  enum class Part { kSign, kInteger, kFraction } part = Part::kSign;
  bool fractionDigitSeen = false;
  for (const QChar c : text) {
    if (isBlank(c)) continue;
    if (part == Part::kSign && (c == u'-' || c == u'+')) {
      negative = c == u'-';
      part = Part::kInteger;
    } else if (part != Part::kFraction && c == u'.') {
      part = Part::kFraction;
    } else if (isDigit(c)) {
      const int digit = c.unicode() - u'0';
      if (part == Part::kFraction) {
        if (!fractionDigitSeen) {
          firstFractionDigit = digit;
          fractionDigitSeen = true;
        } else if (digit != 0) {
          laterFractionDigits = true;
        }
      } else {
        magnitude = std::min(magnitude * 10 + digit, kCeiling);
        part = Part::kInteger;
      }
    } else {
      break;
    }
  }

  const bool roundUp = firstFractionDigit > 5 ||
                       (firstFractionDigit == 5 && (laterFractionDigits || magnitude % 2 == 1));
  if (roundUp) ++magnitude;
  return Int16(negative ? -magnitude : magnitude);
}

}  // namespace orv
