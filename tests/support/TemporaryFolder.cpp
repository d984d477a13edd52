#include "tests/support/TemporaryFolder.h"

#include "tests/support/Files.h"

#include <gtest/gtest.h>

namespace orv::test {

TemporaryFolder::~TemporaryFolder() {
  if (isValid()) {
    EXPECT_TRUE(removeTree(path())) << "left behind: " << path().toStdString();
  }
}

}  // namespace orv::test
