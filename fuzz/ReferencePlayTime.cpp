#include "fuzz/ReferencePlayTime.h"

#include "core/RuntimeError.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orv::fuzz {
namespace {

constexpr PlayTimeOutcome error(ErrorCode code) { return {true, static_cast<int>(code)}; }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The piece's number, rounded; nullopt when it doesn't fit 16 bits.
std::optional<std::int64_t> readPiece(const QString& piece) {
  std::string s;  // the piece without blanks, anything outside ASCII as '?'
  for (const QChar c : piece) {
    if (c == u' ' || c == u'\t' || c == u'\n') continue;
    s += c.unicode() < 0x80 ? static_cast<char>(c.unicode()) : '?';
  }
  std::size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  std::string whole, fraction;
  while (i < s.size() && isDigit(s[i])) whole += s[i++];
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && isDigit(s[i])) fraction += s[i++];
  }

  while (!whole.empty() && whole.front() == '0') whole.erase(0, 1);
  while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  if (whole.size() > 6) return std::nullopt;  // far beyond 16 bits
  std::int64_t magnitude = whole.empty() ? 0 : std::stoll(whole);
  // Compared as decimal digits, so no halfway case is lost to binary fractions.
  if (!fraction.empty()) {
    const bool aboveHalf = fraction[0] > '5' || (fraction[0] == '5' && fraction.size() > 1);
    const bool half = fraction == "5";
    if (aboveHalf || (half && magnitude % 2 == 1)) ++magnitude;
  }
  const std::int64_t value = negative ? -magnitude : magnitude;
  if (value < INT16_MIN || value > INT16_MAX) return std::nullopt;
  return value;
}

bool fits32(std::int64_t value) { return value >= INT32_MIN && value <= INT32_MAX; }

}  // namespace

PlayTimeOutcome referencePlayTime(const QString& text) {
  if (text.size() >= 32767) return error(ErrorCode::kOverflow);
  std::vector<qsizetype> colons;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] != u':') continue;
    if (colons.size() == 2) return error(ErrorCode::kSubscriptOutOfRange);
    colons.push_back(i);
  }
  if (colons.size() < 2) return {false, 1000};

  const QString pieces[] = {text.left(colons[0]),
                            text.mid(colons[0] + 1, colons[1] - colons[0] - 1),
                            text.mid(colons[1] + 1)};
  std::int64_t numbers[3];
  for (int p = 0; p < 3; ++p) {
    const auto number = readPiece(pieces[p]);
    if (!number) return error(ErrorCode::kOverflow);
    numbers[p] = *number;
  }
  std::int64_t total = numbers[0] * 3600;
  if (!fits32(total)) return error(ErrorCode::kOverflow);
  const std::int64_t minutes = numbers[1] * 60;
  if (!fits32(minutes)) return error(ErrorCode::kOverflow);
  total += minutes;
  if (!fits32(total)) return error(ErrorCode::kOverflow);
  total += numbers[2];
  if (!fits32(total)) return error(ErrorCode::kOverflow);
  total *= 1000;
  if (!fits32(total)) return error(ErrorCode::kOverflow);
  return {false, static_cast<int>(total)};
}

QString describe(const PlayTimeOutcome& outcome) {
  return outcome.failed ? QStringLiteral("error %1").arg(outcome.value)
                        : QString::number(outcome.value);
}

}  // namespace orv::fuzz
