#include "core/RuntimeError.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

namespace orv {
namespace {

TEST(AsRuntimeError, GivesEveryExceptionANumberAndADescription) {
  const struct {
    const char* what;
    std::exception_ptr error;
    int number;
    QString description;
  } cases[] = {
      {"run-time error", std::make_exception_ptr(RuntimeError(ErrorCode::kFileNotFound, "x")), 53,
       "x"},
      {"memory", std::make_exception_ptr(std::bad_alloc()), 7, "メモリが不足しています。"},
      {"fault", std::make_exception_ptr(std::out_of_range("bad index")), 51,
       "内部エラーが発生しました（bad index）。"},
      {"anything else", std::make_exception_ptr(42), 51, "内部エラーが発生しました。"},
  };
  for (const auto& c : cases) {
    const RuntimeError error = asRuntimeError(c.error);
    EXPECT_EQ(error.number(), c.number) << c.what;
    EXPECT_EQ(error.description(), c.description) << c.what;
  }
}

}  // namespace
}  // namespace orv
