#include "platform/posix/PosixFileSystem.h"

#include "core/RuntimeError.h"
#include "tests/support/Errors.h"
#include "tests/support/Files.h"
#include "tests/support/Unprivileged.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <functional>
#include <tuple>

namespace orv::platform {
namespace {

using test::errorOf;
using test::readFile;
using test::writeFile;

mode_t modeOf(const QString& path) {
  struct stat st {};
  EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
  return st.st_mode & 07777;
}

mode_t currentUmask() {
  const mode_t mask = ::umask(022);
  ::umask(mask);
  return mask;
}

// Content that takes several reads and writes, with every byte value.
QByteArray bigContent() {
  QByteArray bytes(200 * 1024 + 7, '\0');
  for (qsizetype i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7 % 256);
  return bytes;
}

// Lets no file of this process grow past `bytes`, so writes fail as on a full disk.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved_;
    limited.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limited);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previousHandler_);
  }

 private:
  rlimit saved_{};
  void (*previousHandler_)(int);
};

// Every case with files written without a name where the file system allows it, as the
// program writes them, and with named temporary files, as where it doesn't.
class PosixFiles : public testing::TestWithParam<PosixFileSystem::TemporaryFiles> {
 protected:
  QString path(const QString& name) const { return dir.path() + u'/' + name; }
  QStringList entries() const {
    return QDir(dir.path())
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                   QDir::Name);
  }
  QTemporaryDir dir;
  PosixFileSystem fs{GetParam()};
};

INSTANTIATE_TEST_SUITE_P(TemporaryFiles, PosixFiles,
                         testing::Values(PosixFileSystem::TemporaryFiles::kUnnamedWherePossible,
                                         PosixFileSystem::TemporaryFiles::kNamed),
                         [](const auto& info) {
                           return info.param == PosixFileSystem::TemporaryFiles::kNamed ? "Named"
                                                                                        : "Unnamed";
                         });

TEST_P(PosixFiles, ReadsAWholeFile) {
  writeFile(path("a.bin"), bigContent());
  EXPECT_EQ(fs.readFile(path("a.bin")), bigContent());
  writeFile(path("empty"), "");
  EXPECT_EQ(fs.readFile(path("empty")), QByteArray());
}

TEST_P(PosixFiles, ReadingAMissingFileNamesIt) {
  const RuntimeError e = errorOf([&] { fs.readFile(path("head.txt")); });
  EXPECT_TRUE(e.is(ErrorCode::kFileNotFound));
  EXPECT_TRUE(e.description().contains(path("head.txt"))) << e.what();
}

TEST_P(PosixFiles, ReadingAFolderFails) {
  QDir(dir.path()).mkdir("sub");
  EXPECT_TRUE(errorOf([&] { fs.readFile(path("sub")); }).is(ErrorCode::kPathFileAccessError));
}

TEST_P(PosixFiles, ANewFileGetsTheUsualPermissions) {
  EXPECT_EQ(
      errorOf([&] { fs.dryRun()->replaceFileAtomically(path("disk.html"), "page"); }).number(), 0);
  fs.replaceFileAtomically(path("disk.html"), "page");
  EXPECT_EQ(readFile(path("disk.html")), "page");
  EXPECT_EQ(modeOf(path("disk.html")), 0644 & ~currentUmask());
  EXPECT_EQ(entries(), QStringList({"disk.html"}));
}

TEST_P(PosixFiles, AReplacedFileKeepsItsPermissions) {
  writeFile(path("disk.html"), "old and longer");
  ASSERT_EQ(::chmod(QFile::encodeName(path("disk.html")).constData(), 0604), 0);
  EXPECT_EQ(
      errorOf([&] { fs.dryRun()->replaceFileAtomically(path("disk.html"), "page"); }).number(), 0);
  fs.replaceFileAtomically(path("disk.html"), bigContent());
  EXPECT_EQ(readFile(path("disk.html")), bigContent());
  EXPECT_EQ(modeOf(path("disk.html")), 0604u);
  EXPECT_EQ(entries(), QStringList({"disk.html"}));
}

TEST_P(PosixFiles, AFailedWriteLeavesTheOldFileAndNoTemporaryFile) {
  writeFile(path("disk.html"), "old");
  {
    FileSizeLimit limit(1000);
    const RuntimeError e =
        errorOf([&] { fs.replaceFileAtomically(path("disk.html"), bigContent()); });
    EXPECT_TRUE(e.description().contains(path("disk.html"))) << e.what();
  }
  EXPECT_EQ(readFile(path("disk.html")), "old");
  EXPECT_EQ(entries(), QStringList({"disk.html"}));
}

TEST_P(PosixFiles, AFolderInThePagesPlaceStays) {
  QDir(dir.path()).mkpath("disk.html/inner");
  const RuntimeError e = errorOf([&] { fs.replaceFileAtomically(path("disk.html"), "page"); });
  EXPECT_NE(e.number(), 0);
  EXPECT_EQ(
      errorOf([&] { fs.dryRun()->replaceFileAtomically(path("disk.html"), "page"); }).description(),
      e.description());
  EXPECT_TRUE(QFileInfo(path("disk.html/inner")).isDir());
  EXPECT_EQ(entries(), QStringList({"disk.html"}));
}

TEST_P(PosixFiles, ReplacingInAMissingFolderNamesTheFolder) {
  const RuntimeError e = errorOf([&] { fs.replaceFileAtomically(path("gone/disk.html"), "page"); });
  EXPECT_TRUE(e.is(ErrorCode::kPathNotFound));
  EXPECT_TRUE(e.description().contains(path("gone/"))) << e.what();
}

// A file its owner protected is refused before a temporary file is made, and stays; a
// dry run refuses it alike.
TEST_P(PosixFiles, AProtectedFileIsNeverReplaced) {
  const auto expectRefused = [&](const char* what, const QString& reason) {
    SCOPED_TRACE(what);
    const QStringList before = entries();
    const RuntimeError checked =
        errorOf([&] { fs.dryRun()->replaceFileAtomically(path("disk.html"), "new"); });
    const RuntimeError e = errorOf([&] { fs.replaceFileAtomically(path("disk.html"), "new"); });
    EXPECT_TRUE(e.is(ErrorCode::kPathFileAccessError)) << e.what();
    EXPECT_EQ(
        e.description(),
        QStringLiteral("ファイル %1 は%2のため書き込めません。").arg(path("disk.html"), reason));
    EXPECT_EQ(checked.number(), e.number());
    EXPECT_EQ(checked.description(), e.description());
    EXPECT_EQ(readFile(path("disk.html")), "old");
    EXPECT_EQ(entries(), before);
  };
  const auto chmodPage = [&](mode_t mode) {
    ASSERT_EQ(::chmod(QFile::encodeName(path("disk.html")).constData(), mode), 0);
  };

  writeFile(path("disk.html"), "old");
  chmodPage(0444);  // chmod a-w: refused to root too
  expectRefused("written by no one", "読み取り専用");

  QFile::remove(path("disk.html"));
  writeFile(path("mine.html"), "old");
  ASSERT_TRUE(QFile::link(path("mine.html"), path("disk.html")));
  expectRefused("a link", "シンボリックリンク");
  EXPECT_TRUE(QFileInfo(path("disk.html")).isSymLink());

  QFile::remove(path("disk.html"));
  writeFile(path("disk.html"), "old");
  test::asUnprivilegedUser(dir.path(), [&] {
    chmodPage(0460);  // its group may write it, its owner may not
    expectRefused("not writable by its owner", "読み取り専用");
  });
}

// A file that holds the very bytes is left as it is: same inode, same time, even where
// it could not be replaced; anything else is replaced or refused as a replacement is. The
// dry run answers alike and changes nothing.
TEST_P(PosixFiles, AFileThatHoldsTheBytesAlreadyIsLeftAsItIs) {
  const QByteArray page = bigContent();
  QByteArray otherByte = page;
  otherByte[otherByte.size() - 1] = 'x';
  const struct {
    const char* what;
    QByteArray before;  // empty: none
    mode_t mode;
    bool link;
    bool replaced;
    int error;
  } cases[] = {
      {"the same bytes", page, 0644, false, false, 0},
      {"the same bytes, written by no one", page, 0444, false, false, 0},
      {"one byte otherwise", otherByte, 0644, false, true, 0},
      {"the first bytes only", page.left(1000), 0644, false, true, 0},
      {"nothing", {}, 0644, false, true, 0},
      {"a link to the same bytes", page, 0644, true, true, 75},
  };
  const auto identity = [&] {
    struct stat st {};
    ::lstat(QFile::encodeName(path("disk.html")).constData(), &st);
    return std::tuple(st.st_ino, st.st_mtim.tv_sec, st.st_mtim.tv_nsec, st.st_ctim.tv_nsec);
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    for (const QString& name : entries()) QFile::remove(path(name));
    if (!c.before.isEmpty()) {
      writeFile(path(c.link ? "mine.html" : "disk.html"), c.before);
      ASSERT_TRUE(!c.link || QFile::link(path("mine.html"), path("disk.html")));
      ASSERT_EQ(::chmod(QFile::encodeName(path("disk.html")).constData(), c.mode), 0);
    }
    const auto before = identity();
    bool dryAnswer = false, answer = false;
    const RuntimeError dry =
        errorOf([&] { dryAnswer = fs.dryRun()->replaceFileIfDifferent(path("disk.html"), page); });
    EXPECT_EQ(identity(), before);
    const RuntimeError e =
        errorOf([&] { answer = fs.replaceFileIfDifferent(path("disk.html"), page); });
    EXPECT_EQ(e.number(), c.error) << e.what();
    EXPECT_EQ(dry.number(), c.error);
    EXPECT_EQ(answer, c.replaced && c.error == 0);
    EXPECT_EQ(dryAnswer, answer);
    EXPECT_EQ(identity() != before, answer);
    EXPECT_EQ(readFile(path("disk.html")), c.error == 0 ? page : c.before);
  }
}

TEST_P(PosixFiles, CreatesANewFileWhole) {
  fs.createFileAtomically(path("index.html"), bigContent());
  EXPECT_EQ(readFile(path("index.html")), bigContent());
  EXPECT_EQ(modeOf(path("index.html")), 0644 & ~currentUmask());
  EXPECT_EQ(entries(), QStringList({"index.html"}));
}

// Whatever is under the name stays, and no temporary file is left; a dry run refuses it
// alike.
TEST_P(PosixFiles, CreatingAFileNeverReplacesAnything) {
  writeFile(path("file"), "the user's");
  QDir(dir.path()).mkdir("folder");
  QFile::link(path("file"), path("link"));
  QFile::link(path("nowhere"), path("dangling"));
  for (const char* name : {"file", "folder", "link", "dangling"}) {
    SCOPED_TRACE(name);
    const test::TreeSnapshot before = test::snapshotTree(dir.path());
    const RuntimeError checked =
        errorOf([&] { fs.dryRun()->createFileAtomically(path(name), "page"); });
    const RuntimeError e = errorOf([&] { fs.createFileAtomically(path(name), "page"); });
    EXPECT_TRUE(e.is(ErrorCode::kFileAlreadyExists)) << e.what();
    EXPECT_EQ(e.description(),
              QStringLiteral("ファイル %1 が既にあるため、新しく作れません。").arg(path(name)));
    EXPECT_EQ(checked.description(), e.description());
    EXPECT_EQ(test::snapshotTree(dir.path()), before);
  }
}

TEST_P(PosixFiles, FileExistsOnlyForFiles) {
  writeFile(path("file"), "x");
  QDir(dir.path()).mkdir("folder");
  QFile::link(path("file"), path("link"));
  QFile::link(path("nowhere"), path("dangling"));
  EXPECT_TRUE(fs.fileExists(path("file")));
  EXPECT_TRUE(fs.fileExists(path("link")));
  EXPECT_FALSE(fs.fileExists(path("folder")));
  EXPECT_FALSE(fs.fileExists(path("dangling")));
  EXPECT_FALSE(fs.fileExists(path("missing")));
}

TEST_P(PosixFiles, CopiesAFile) {
  writeFile(path("from"), bigContent());
  fs.copyFileNoReplace(path("from"), path("to"));
  EXPECT_EQ(readFile(path("to")), bigContent());
}

// A copy that depends on how the file begins: `accept` sees that much of it, and the
// copy is whole whatever it saw.
TEST_P(PosixFiles, CopiesAFileThatBeginsRight) {
  writeFile(path("from"), bigContent());
  writeFile(path("short"), "ab");
  for (const qsizetype size : {0, 1, 8192, 300 * 1024}) {
    QByteArray seen;
    const auto begins = [&](bool right) {
      return [&, right](QByteArrayView start) {
        seen = start.toByteArray();
        return right;
      };
    };
    EXPECT_FALSE(fs.copyFileNoReplaceIf(path("from"), path("to"), size, begins(false)));
    EXPECT_EQ(seen, bigContent().first(std::min(size, bigContent().size())));
    EXPECT_FALSE(QFileInfo::exists(path("to")));
    EXPECT_TRUE(fs.copyFileNoReplaceIf(path("from"), path("to"), size, begins(true)));
    EXPECT_EQ(readFile(path("to")), bigContent());
    EXPECT_TRUE(fs.copyFileNoReplaceIf(path("short"), path("to2"), size, begins(true)));
    EXPECT_EQ(seen, QByteArray("ab").first(std::min<qsizetype>(size, 2)));
    EXPECT_EQ(readFile(path("to2")), "ab");
    QFile::remove(path("to"));
    QFile::remove(path("to2"));
  }
}

TEST_P(PosixFiles, ACopyNeverReplacesAFile) {
  writeFile(path("from"), "program cover");
  writeFile(path("to"), "user's cover");
  const RuntimeError e = errorOf([&] { fs.copyFileNoReplace(path("from"), path("to")); });
  EXPECT_TRUE(e.is(ErrorCode::kFileAlreadyExists));
  EXPECT_EQ(readFile(path("to")), "user's cover");
}

TEST_P(PosixFiles, ACopyFollowsNoLinkToANewFile) {
  writeFile(path("from"), "program cover");
  QFile::link(path("elsewhere"), path("to"));
  EXPECT_TRUE(errorOf([&] {
                fs.copyFileNoReplace(path("from"), path("to"));
              }).is(ErrorCode::kFileAlreadyExists));
  EXPECT_FALSE(QFileInfo::exists(path("elsewhere")));
}

TEST_P(PosixFiles, CopyingAMissingFileCreatesNothing) {
  const RuntimeError e = errorOf([&] { fs.copyFileNoReplace(path("jacket.jpg"), path("to")); });
  EXPECT_TRUE(e.is(ErrorCode::kFileNotFound));
  EXPECT_TRUE(e.description().contains(path("jacket.jpg"))) << e.what();
  EXPECT_TRUE(entries().isEmpty());
}

TEST_P(PosixFiles, AFailedCopyRemovesItsPartialFile) {
  writeFile(path("from"), bigContent());
  {
    FileSizeLimit limit(bigContent().size() - 1);
    EXPECT_NE(errorOf([&] { fs.copyFileNoReplace(path("from"), path("to")); }).number(), 0);
  }
  EXPECT_EQ(entries(), QStringList({"from"}));
}

// A write killed midway (by the file size limit's signal, as by a crash) leaves the old
// file as it was and at most its temporary file, which the sweep removes, and nothing
// else of the user's.
TEST_P(PosixFiles, AWriteKilledMidwayLeavesNothingTheSweepLeaves) {
  writeFile(path("disk.html"), "old");
  writeFile(path("from"), bigContent());
  writeFile(path(".disk.html.orv-mine"), "the user's");
  const std::function<void()> writes[] = {
      [&] { fs.replaceFileAtomically(path("disk.html"), bigContent()); },
      [&] { fs.copyFileNoReplace(path("from"), path("jacket.jpg")); },
      [&] { fs.createFileAtomically(path("index.html"), bigContent()); },
  };
  for (const auto& write : writes) {
    std::fflush(nullptr);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      const rlimit noCore{0, 0};
      const rlimit limited{1000, RLIM_INFINITY};
      ::setrlimit(RLIMIT_CORE, &noCore);
      ::setrlimit(RLIMIT_FSIZE, &limited);
      std::signal(SIGXFSZ, SIG_DFL);
      write();
      ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << status;
  }
  const QStringList ours{".disk.html.orv-mine", "disk.html", "from"};
  QStringList left = entries();
  for (const QString& name : ours) left.removeOne(name);
  EXPECT_EQ(left.size(), GetParam() == PosixFileSystem::TemporaryFiles::kNamed ? 3 : 0)
      << left.join(u' ').toStdString();

  QStringList removed =
      fs.removeLeftoverTemporaryFiles(dir.path() + u'/', {"disk.html", "jacket.jpg", "index.html"});
  removed.sort();
  left.sort();
  EXPECT_EQ(removed, left);
  EXPECT_EQ(entries(), ours);
  EXPECT_EQ(readFile(path("disk.html")), "old");
}

}  // namespace
}  // namespace orv::platform
