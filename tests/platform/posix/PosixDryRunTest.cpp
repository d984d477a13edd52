#include "platform/posix/PosixFileSystem.h"

#include "core/RuntimeError.h"
#include "tests/support/Errors.h"
#include "tests/support/Files.h"
#include "tests/support/TemporaryFolder.h"

#include <gtest/gtest.h>

namespace orv::platform {
namespace {

using test::errorOf;

// A dry run sees the renames it noted down, and the disk's own files beside them, and
// changes nothing; a dry run of it starts from its renames and keeps its own.
TEST(PosixDryRun, SeesItsOwnRenamesAndChangesNothing) {
  test::TemporaryFolder dir;
  const QString a = dir.path() + u'/';
  for (const char* name : {"a b.mp3", "c d.mp3", "e.mp3", "cover.jpg"}) {
    test::writeFile(a + name, name);
  }
  test::writeFile(a + ".disk.html.orv-0000000000abc", "cut off");
  const test::TreeSnapshot before = test::snapshotTree(dir.path());
  PosixFileSystem disk;
  const std::unique_ptr<DryRunFileSystem> dry = disk.dryRun();

  dry->rename(a + "a b.mp3", a + "a_b.mp3");
  EXPECT_EQ(dry->onDisk(a + "a_b.mp3"), a + "a b.mp3");
  EXPECT_EQ(dry->readFile(a + "a_b.mp3"), "a b.mp3");
  EXPECT_EQ(dry->fileId(a + "a_b.mp3"), disk.fileId(a + "a b.mp3"));
  EXPECT_FALSE(dry->fileExists(a + "a b.mp3"));
  EXPECT_TRUE(dry->fileExists(a + "a_b.mp3"));
  const RuntimeError taken = errorOf([&] { dry->rename(a + "c d.mp3", a + "a_b.mp3"); });
  EXPECT_EQ(taken.description(), renameTakenError(a + "c d.mp3", a + "a_b.mp3").description());
  EXPECT_EQ(errorOf([&] { dry->rename(a + "e.mp3", a + "a b.mp3"); }).number(), 0);
  EXPECT_EQ(errorOf([&] { dry->rename(a + "a_b.mp3", a + "x.mp3"); }).number(), 0);
  EXPECT_EQ(dry->readFile(a + "x.mp3"), "a b.mp3");

  const std::unique_ptr<DryRunFileSystem> further = dry->dryRun();
  further->rename(a + "x.mp3", a + "y.mp3");
  EXPECT_EQ(further->readFile(a + "a b.mp3"), "e.mp3");
  EXPECT_FALSE(dry->fileExists(a + "y.mp3"));

  EXPECT_EQ(dry->removeLeftoverTemporaryFiles(a, {"disk.html"}), QStringList());
  QByteArray seen;
  EXPECT_FALSE(dry->copyFileNoReplaceIf(a + "cover.jpg", a + "jacket.jpg", 3, [&](auto start) {
    seen = start.toByteArray();
    return false;
  }));
  EXPECT_EQ(seen, "cov");
  EXPECT_TRUE(dry->copyFileNoReplaceIf(a + "cover.jpg", a + "jacket.jpg", 3,
                                       [](QByteArrayView) { return true; }));
  EXPECT_EQ(test::snapshotTree(dir.path()), before);
}

}  // namespace
}  // namespace orv::platform
