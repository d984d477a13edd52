#pragma once

#include "core/RuntimeError.h"

#include <compare>
#include <concepts>
#include <cstdint>
#include <limits>

namespace orv {

// A signed integer whose every step is checked: a result outside T's range raises
// ErrorCode::kOverflow instead of wrapping. Counts, indexes and text positions are Int16,
// millisecond values Int32.
//
//   Int16 count = 32767;
//   count += 1;                  // throws RuntimeError(ErrorCode::kOverflow)
//   Int32 ms = Int32(h) * 3600;  // checked in 32 bits
template <std::signed_integral T>
class Checked {
 public:
  constexpr Checked() = default;

  // Any integral value converts when it fits; otherwise the overflow error.
  template <std::integral U>
  constexpr Checked(U value) : value_(narrow(value)) {}  // NOLINT: implicit by design

  constexpr T value() const { return value_; }
  constexpr explicit operator T() const { return value_; }

  friend constexpr Checked operator+(Checked a, Checked b) {
    return Checked(a.value_ + 0LL + b.value_);
  }
  friend constexpr Checked operator-(Checked a, Checked b) {
    return Checked(a.value_ + 0LL - b.value_);
  }
  friend constexpr Checked operator*(Checked a, Checked b) {
    return Checked(a.value_ * 1LL * b.value_);
  }
  constexpr Checked operator-() const { return Checked(-(value_ + 0LL)); }
  constexpr Checked& operator+=(Checked b) { return *this = *this + b; }
  constexpr Checked& operator-=(Checked b) { return *this = *this - b; }
  constexpr Checked& operator*=(Checked b) { return *this = *this * b; }
  constexpr Checked& operator++() { return *this += 1; }
  constexpr Checked& operator--() { return *this -= 1; }

  friend constexpr bool operator==(Checked a, Checked b) = default;
  friend constexpr auto operator<=>(Checked a, Checked b) = default;

 private:
  template <std::integral U>
  static constexpr T narrow(U value) {
    if (!std::in_range<T>(value)) throw RuntimeError(ErrorCode::kOverflow);
    return static_cast<T>(value);
  }

  T value_ = 0;
};

using Int16 = Checked<std::int16_t>;
using Int32 = Checked<std::int32_t>;

}  // namespace orv
