#include "platform/CheckedInt.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

void expectOverflow(auto&& step) {
  try {
    step();
    FAIL() << "no overflow raised";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.number(), 6);
    EXPECT_EQ(e.description(), QStringLiteral("オーバーフローしました。"));
  }
}

TEST(CheckedIntTest, StepsPastTheRangeRaiseOverflowInsteadOfWrapping) {
  expectOverflow([] {
    Int16 i = 32767;
    ++i;
  });
  expectOverflow([] {
    Int16 i = -32768;
    --i;
  });
  expectOverflow([] { Int16(200) * Int16(200); });
  expectOverflow([] { -Int16(-32768); });
  expectOverflow([] { Int16(40000); });
  expectOverflow([] { Int32(597) * 3600 * 1000; });
  expectOverflow([] { Int32(2147483647) + 1; });
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
