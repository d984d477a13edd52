#include "platform/posix/PosixFileSystem.h"

#include "core/RuntimeError.h"
#include "tests/support/Errors.h"
#include "tests/support/Files.h"
#include "tests/support/TemporaryFolder.h"
#include "tests/support/Unprivileged.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <functional>

namespace orv::platform {
namespace {

using test::errorOf;
using test::writeFile;

class PosixDryRunTest : public ::testing::Test {
 protected:
  QString path(const QString& name) const { return dir.path() + u'/' + name; }
  test::TemporaryFolder dir;
  PosixFileSystem fs;
};

// A dry run sees the renames it noted down, and the disk's own files beside them, and
// changes nothing; a dry run of it starts from its renames and keeps its own.
TEST_F(PosixDryRunTest, SeesItsOwnRenamesAndChangesNothing) {
  for (const char* name : {"a b.mp3", "c d.mp3", "e.mp3", "cover.jpg"}) {
    writeFile(path(name), name);
  }
  writeFile(path(".disk.html.orv-0000000000abc"), "cut off");
  const test::TreeSnapshot before = test::snapshotTree(dir.path());
  const std::unique_ptr<DryRunFileSystem> dry = fs.dryRun();

  dry->rename(path("a b.mp3"), path("a_b.mp3"));
  EXPECT_EQ(dry->onDisk(path("a_b.mp3")), path("a b.mp3"));
  EXPECT_EQ(dry->readFile(path("a_b.mp3")), "a b.mp3");
  EXPECT_EQ(dry->fileId(path("a_b.mp3")), fs.fileId(path("a b.mp3")));
  EXPECT_FALSE(dry->fileExists(path("a b.mp3")));
  EXPECT_TRUE(dry->fileExists(path("a_b.mp3")));
  const RuntimeError taken = errorOf([&] { dry->rename(path("c d.mp3"), path("a_b.mp3")); });
  EXPECT_EQ(taken.description(), renameTakenError(path("c d.mp3"), path("a_b.mp3")).description());
  EXPECT_EQ(errorOf([&] { dry->rename(path("e.mp3"), path("a b.mp3")); }).number(), 0);
  EXPECT_EQ(errorOf([&] { dry->rename(path("a_b.mp3"), path("x.mp3")); }).number(), 0);
  EXPECT_EQ(dry->readFile(path("x.mp3")), "a b.mp3");

  const std::unique_ptr<DryRunFileSystem> further = dry->dryRun();
  further->rename(path("x.mp3"), path("y.mp3"));
  EXPECT_EQ(further->readFile(path("a b.mp3")), "e.mp3");
  EXPECT_FALSE(dry->fileExists(path("y.mp3")));

  EXPECT_EQ(dry->removeLeftoverTemporaryFiles(dir.path() + u'/', {"disk.html"}), QStringList());
  QByteArray seen;
  EXPECT_FALSE(
      dry->copyFileNoReplaceIf(path("cover.jpg"), path("jacket.jpg"), 3, [&](QByteArrayView start) {
        seen = start.toByteArray();
        return false;
      }));
  EXPECT_EQ(seen, "cov");
  EXPECT_TRUE(dry->copyFileNoReplaceIf(path("cover.jpg"), path("jacket.jpg"), 3,
                                       [](QByteArrayView) { return true; }));
  EXPECT_EQ(test::snapshotTree(dir.path()), before);
}

// A folder that takes no change (read-only; a read-only mount alike): each change is
// refused before it makes anything, with the very error it meets in a dry run.
TEST_F(PosixDryRunTest, EveryChangeAndItsDryRunRefuseAReadOnlyFolderAlike) {
  writeFile(path("disk.html"), "old");
  writeFile(path("a b.mp3"), "audio");
  ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("program")));
  const QString cover = path(QStringLiteral("program/jacket.jpg"));
  writeFile(cover, "cover");
  const auto accept = [](QByteArrayView) { return true; };
  const struct {
    const char* what;
    std::function<void(FileSystem&)> change;
  } cases[] = {
      {"replace", [&](FileSystem& f) { f.replaceFileAtomically(path("disk.html"), "new"); }},
      {"create", [&](FileSystem& f) { f.createFileAtomically(path("index.html"), "new"); }},
      {"copy", [&](FileSystem& f) { f.copyFileNoReplace(cover, path("jacket.jpg")); }},
      {"copy if",
       [&](FileSystem& f) { f.copyFileNoReplaceIf(cover, path("jacket.jpg"), 2, accept); }},
      {"rename", [&](FileSystem& f) { f.rename(path("a b.mp3"), path("a_b.mp3")); }},
  };
  test::asUnprivilegedUser(dir.path(), [&] {
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0555), 0);
    const test::TreeSnapshot before = test::snapshotTree(dir.path());
    for (const auto& c : cases) {
      SCOPED_TRACE(c.what);
      const RuntimeError checked = errorOf([&] { c.change(*fs.dryRun()); });
      const RuntimeError changed = errorOf([&] { c.change(fs); });
      EXPECT_TRUE(changed.is(ErrorCode::kPermissionDenied)) << changed.what();
      EXPECT_EQ(checked.description(), changed.description());
      EXPECT_TRUE(changed.description().contains(dir.path())) << changed.what();
    }
    EXPECT_EQ(test::snapshotTree(dir.path()), before);
    ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
  });
}

// A copy in a dry run: the copy's own error, or none.
TEST_F(PosixDryRunTest, ACopyInADryRunForetellsTheCopy) {
  writeFile(path("from"), "program cover");
  writeFile(path("file"), "user's cover");
  QDir(dir.path()).mkdir("folder");
  QFile::link(path("elsewhere"), path("dangling"));
  const struct {
    const char* from;
    const char* to;
    int error;
  } cases[] = {{"from", "new", 0},
               {"from", "file", 58},
               {"from", "folder", 58},
               {"from", "dangling", 58},
               {"missing", "new", 53}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.to);
    const test::TreeSnapshot before = test::snapshotTree(dir.path());
    const RuntimeError checked =
        errorOf([&] { fs.dryRun()->copyFileNoReplace(path(c.from), path(c.to)); });
    EXPECT_EQ(test::snapshotTree(dir.path()), before);
    const RuntimeError copied = errorOf([&] { fs.copyFileNoReplace(path(c.from), path(c.to)); });
    EXPECT_EQ(checked.number(), c.error);
    EXPECT_EQ(copied.number(), c.error);
    EXPECT_EQ(checked.description(), copied.description());
    // Raised before the file's start is looked at.
    QFile::remove(path("new"));
    bool asked = false;
    const RuntimeError copiedIf = errorOf([&] {
      fs.copyFileNoReplaceIf(path(c.from), path(c.to), 16, [&](QByteArrayView) {
        asked = true;
        return true;
      });
    });
    EXPECT_EQ(copiedIf.description(), copied.description());
    EXPECT_EQ(asked, c.error == 0);
  }
}

}  // namespace
}  // namespace orv::platform
