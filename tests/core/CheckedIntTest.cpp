#include "core/CheckedInt.h"

#include "tests/support/Errors.h"

#include <gtest/gtest.h>

#include <functional>

namespace orv {
namespace {

using test::errorOf;

TEST(CheckedIntTest, StepsPastTheRangeRaiseOverflowInsteadOfWrapping) {
  const std::function<void()> steps[] = {
      [] {
        Int16 i = 32767;
        ++i;
      },
      [] {
        Int16 i = -32768;
        --i;
      },
      [] { Int16(200) * Int16(200); },
      [] { -Int16(-32768); },
      [] { Int16(40000); },
      [] { Int32(597) * 3600 * 1000; },
      [] { Int32(2147483647) + 1; },
  };
  for (const auto& step : steps) {
    const RuntimeError error = errorOf(step);
    EXPECT_EQ(error.number(), 6);
    EXPECT_EQ(error.description(), QStringLiteral("オーバーフローしました。"));
  }
}

TEST(CheckedIntTest, ResultsInsideTheRangeAreExact) {
  Int16 i = 32766;
  ++i;
  EXPECT_EQ(i.value(), 32767);
  EXPECT_EQ((Int16(-32767) - 1).value(), -32768);
  EXPECT_EQ((Int32(2147483) * 1000).value(), 2147483000);
  EXPECT_LT(Int16(-1), Int16(0));
}

}  // namespace
}  // namespace orv
