#include "platform/posix/PosixFolderLocks.h"

#include "tests/support/Unprivileged.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace orv::platform {
namespace {

// One holder at a time, whoever asks: another open of the folder, another spelling of
// it, another process of another user. No file is made for it.
TEST(PosixFolderLocks, OneHolderAtATimeAndNoFileMade) {
  QTemporaryDir dir;
  const QString folder = dir.path() + u'/';
  PosixFolderLocks locks;
  int asked = 0;
  const auto giveUp = [&] {
    ++asked;
    return false;
  };

  std::unique_ptr<FolderLock> held = locks.lock(folder, giveUp);
  ASSERT_NE(held, nullptr);
  EXPECT_EQ(asked, 0);
  EXPECT_EQ(locks.lock(folder, giveUp), nullptr);
  EXPECT_EQ(locks.lock(dir.path() + QStringLiteral("/./"), giveUp), nullptr);
  EXPECT_EQ(asked, 2);
  test::asUnprivilegedUser(dir.path(),
                           [&] { EXPECT_EQ(locks.lock(folder, [] { return false; }), nullptr); });

  held.reset();
  EXPECT_NE(locks.lock(folder, giveUp), nullptr);
  EXPECT_EQ(asked, 2);
  EXPECT_TRUE(
      QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
  // Nothing to guard: the build reports the missing folder itself.
  EXPECT_NE(locks.lock(folder + QStringLiteral("missing/"), giveUp), nullptr);
}

}  // namespace
}  // namespace orv::platform
