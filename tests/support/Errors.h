#pragma once

#include "core/RuntimeError.h"

namespace orv::test {

// The RuntimeError that `call` raises; one numbered 0 when it returns normally. Other
// exceptions pass through.
//
//   EXPECT_EQ(errorOf([&] { fs.readFile("/missing"); }).number(), 53);
//   EXPECT_TRUE(errorOf([&] { table[9]; }).is(ErrorCode::kSubscriptOutOfRange));
template <typename Call>
RuntimeError errorOf(Call&& call) {
  try {
    call();
  } catch (const RuntimeError& error) {
    return error;
  }
  return RuntimeError(0, QStringLiteral("no error"));
}

}  // namespace orv::test
