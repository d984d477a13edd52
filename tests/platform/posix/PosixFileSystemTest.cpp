#include "core/RuntimeError.h"
#include "platform/posix/NoReplaceRename.h"
#include "platform/posix/PosixFileSystem.h"
#include "tests/support/Errors.h"
#include "tests/support/Files.h"
#include "tests/support/TemporaryFolder.h"
#include "tests/support/Unprivileged.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <functional>

namespace orv::platform {
namespace {

using test::errorOf;

class PosixFileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

  QString folder() const { return dir_.path() + u'/'; }
  QByteArray bytes(const QByteArray& name) const { return QFile::encodeName(folder()) + name; }

  void writeFile(const QString& name, const QByteArray& content = "x") const {
    test::writeFile(folder() + name, content);
  }
  QByteArray content(const QString& name) const { return test::readFile(folder() + name); }
  bool exists(const QString& name) const {
    struct stat st {};
    return ::lstat(QFile::encodeName(folder() + name).constData(), &st) == 0;
  }

  QStringList listAll(const QString& pattern) {
    QStringList names;
    auto listing = fs_.list(pattern);
    for (QString name = listing->next(); !name.isEmpty(); name = listing->next()) names << name;
    return names;
  }

  test::TemporaryFolder dir_;
  PosixFileSystem fs_;
};

TEST_F(PosixFileSystemTest, ListsOnlyRegularMp3FilesInAnyLetterCaseAndLinksToThem) {
  writeFile(QStringLiteral("A.MP3"));
  writeFile(QStringLiteral("b.Mp3"));
  writeFile(QStringLiteral("c.mp3"));
  writeFile(QStringLiteral(".hidden.mp3"));
  writeFile(QStringLiteral("d.wav"));
  writeFile(QStringLiteral("e.mp3.bak"));
  writeFile(QStringLiteral("f.mp3x"));
  writeFile(QStringLiteral("mp3"));
  ASSERT_TRUE(QDir(folder()).mkdir(QStringLiteral("folder.mp3")));
  ASSERT_EQ(::symlink("c.mp3", bytes("link to c.mp3").constData()), 0);
  ASSERT_EQ(::symlink("missing.mp3", bytes("dangling.mp3").constData()), 0);
  ASSERT_EQ(::symlink("folder.mp3", bytes("link to folder.mp3").constData()), 0);
  ASSERT_EQ(::mkfifo(bytes("fifo.mp3").constData(), 0644), 0);
  const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const QByteArray socketPath = bytes("socket.mp3");
  ASSERT_LT(socketPath.size(), static_cast<qsizetype>(sizeof address.sun_path));
  std::memcpy(address.sun_path, socketPath.constData(), socketPath.size());
  ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ::close(sock);

  EXPECT_EQ(listAll(folder() + QStringLiteral("*.mp3")),
            (QStringList{"A.MP3", "b.Mp3", "c.mp3", "link to c.mp3"}));
}

TEST_F(PosixFileSystemTest, SortsByUpperCasedNameThenByTheNamesThemselves) {
  // Upper-cased, "_" (U+005F) comes after the letters; "a" and "A" tie and are ordered
  // by their own code units; no natural number order.
  const QStringList names{"b.mp3",      "_x.mp3",    "a.mp3",    "A.mp3",    "10 Ten.mp3",
                          "9 Nine.mp3", "Z.mp3",     "é.mp3",    "F.mp3",    "ｂ.mp3",
                          "02 二.mp3",  "01 一.mp3", "01-x.mp3", "01_x.mp3", "01 x.mp3"};
  for (const QString& name : names) writeFile(name);

  EXPECT_EQ(listAll(folder() + QStringLiteral("*.mp3")),
            (QStringList{"01 x.mp3", "01 一.mp3", "01-x.mp3", "01_x.mp3", "02 二.mp3", "10 Ten.mp3",
                         "9 Nine.mp3", "A.mp3", "a.mp3", "b.mp3", "F.mp3", "Z.mp3", "_x.mp3",
                         "é.mp3", "ｂ.mp3"}));
}

TEST_F(PosixFileSystemTest, MatchesOnlyTheWildcardsOfThePattern) {
  for (const char* name : {"a.mp3", "ab.MP3", "b.mp3", "a.wav"}) writeFile(QString::fromUtf8(name));
  const struct {
    const char* pattern;
    QStringList names;
  } cases[] = {
      {"*", {"a.mp3", "a.wav", "ab.MP3", "b.mp3"}},
      {"a*", {"a.mp3", "a.wav", "ab.MP3"}},
      {"A*.MP3", {"a.mp3", "ab.MP3"}},
      {"*b*", {"ab.MP3", "b.mp3"}},
      {"a.mp3", {"a.mp3"}},
      {"?.mp3", {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(listAll(folder() + QString::fromUtf8(c.pattern)), c.names) << c.pattern;
  }
}

TEST_F(PosixFileSystemTest, ListsFoldersButNotHiddenOnesLinksToThemOrFiles) {
  for (const char* name : {"b", "A", ".hidden", "c.mp3", "bad\xfe"}) {
    ASSERT_EQ(::mkdir(bytes(name).constData(), 0755), 0) << name;
  }
  writeFile(QStringLiteral("file"));
  ASSERT_EQ(::symlink("b", bytes("link to b").constData()), 0);
  ASSERT_EQ(::symlink("missing", bytes("dangling").constData()), 0);

  const std::vector<QString> folders{"A", "b", "bad\uFFFD", "c.mp3"};
  EXPECT_EQ(fs_.listFolders(folder()), folders);
  EXPECT_TRUE(fs_.listFolders(folder() + QStringLiteral("missing/")).empty());
  EXPECT_TRUE(fs_.listFolders(folder() + QStringLiteral("file/")).empty());

  // The same folders from the walk's one look, which tells of the tracks beside them: a
  // folder named like one (c.mp3) is no track, a link to a track is.
  EXPECT_EQ(fs_.lookIntoFolder(folder(), QStringLiteral("*.mp3")).folders, folders);
  EXPECT_FALSE(fs_.lookIntoFolder(folder(), QStringLiteral("*.mp3")).holdsMatch);
  writeFile(QStringLiteral("b/Track.MP3"));
  ASSERT_EQ(::symlink("b/Track.MP3", bytes("a.mp3").constData()), 0);
  EXPECT_EQ(fs_.lookIntoFolder(folder(), QStringLiteral("*.mp3")).folders, folders);
  EXPECT_TRUE(fs_.lookIntoFolder(folder(), QStringLiteral("*.mp3")).holdsMatch);
  EXPECT_TRUE(
      fs_.lookIntoFolder(folder() + QStringLiteral("b/"), QStringLiteral("*.mp3")).holdsMatch);
}

TEST_F(PosixFileSystemTest, AMissingFolderListsNothing) {
  writeFile(QStringLiteral("file"));
  EXPECT_TRUE(listAll(folder() + QStringLiteral("missing/*.mp3")).isEmpty());
  EXPECT_TRUE(listAll(folder() + QStringLiteral("file/*.mp3")).isEmpty());
}

TEST_F(PosixFileSystemTest, ANameThatIsNotUtf8IsListedButCannotBeReached) {
  test::writeFileAt(bytes("bad\xff name.mp3"), "keep");
  const QStringList names = listAll(folder() + QStringLiteral("*.mp3"));
  ASSERT_EQ(names, QStringList{QStringLiteral("bad\uFFFD name.mp3")});

  EXPECT_EQ(errorOf([&] { fs_.queryAttributes(folder() + names[0]); }).number(), 53);
  EXPECT_EQ(errorOf([&] { fs_.rename(folder() + names[0], folder() + "bad_name.mp3"); }).number(),
            53);
  struct stat st {};
  EXPECT_EQ(::stat(bytes("bad\xff name.mp3").constData(), &st), 0);
}

TEST_F(PosixFileSystemTest, AnyUtf8NameIsReachedAndRenamed) {
  const QString names[] = {QStringLiteral("Café.mp3"), QStringLiteral("\uFEFFbom first.mp3"),
                           QStringLiteral("🎵 note.mp3"), QStringLiteral("日本語　曲.mp3")};
  for (const QString& name : names) writeFile(name, name.toUtf8());
  for (const QString& name : names) {
    SCOPED_TRACE(name.toStdString());
    EXPECT_TRUE(listAll(folder() + QStringLiteral("*.mp3")).contains(name));
    EXPECT_EQ(errorOf([&] { fs_.queryAttributes(folder() + name); }).number(), 0);
    const QString renamed = QStringLiteral("renamed ") + name;
    EXPECT_EQ(errorOf([&] { fs_.rename(folder() + name, folder() + renamed); }).number(), 0);
    EXPECT_EQ(content(renamed), name.toUtf8());
  }
}

// The counting pass's look at a track raises what the query raises, and beyond it only
// a regular file that can't be opened.
TEST_F(PosixFileSystemTest, QueryAttributesAndRequireReadableFindTheSameFiles) {
  writeFile(QStringLiteral("file.mp3"));
  writeFile(QStringLiteral("locked.mp3"));
  ASSERT_TRUE(QDir(folder()).mkdir(QStringLiteral("sub")));
  ASSERT_EQ(::symlink("gone.mp3", bytes("dangling.mp3").constData()), 0);
  ASSERT_EQ(::mkfifo(bytes("fifo.mp3").constData(), 0644), 0);  // never opened: no hang
  const struct {
    const char* name;
    int queried;
    int checked;
  } cases[] = {{"file.mp3", 0, 0},    {"sub", 0, 0},           {"fifo.mp3", 0, 0},
               {"locked.mp3", 0, 70}, {"missing.mp3", 53, 53}, {"dangling.mp3", 53, 53}};
  test::asUnprivilegedUser(dir_.path(), [&] {
    ASSERT_EQ(::chmod(bytes("locked.mp3").constData(), 0), 0);
    for (const auto& c : cases) {
      const RuntimeError queried = errorOf([&] { fs_.queryAttributes(folder() + c.name); });
      const RuntimeError checked = errorOf([&] { fs_.requireReadable(folder() + c.name); });
      EXPECT_EQ(queried.number(), c.queried) << c.name;
      EXPECT_EQ(checked.number(), c.checked) << c.name;
      if (c.queried) {
        EXPECT_EQ(checked.description(), queried.description()) << c.name;
      }
      if (c.checked) {
        EXPECT_TRUE(checked.description().contains(QString::fromUtf8(c.name))) << c.name;
      }
    }
  });
}

TEST_F(PosixFileSystemTest, RenameToTheSameNameChangesNothing) {
  writeFile(QStringLiteral("a.mp3"), "audio");
  EXPECT_EQ(errorOf([&] { fs_.rename(folder() + "a.mp3", folder() + "a.mp3"); }).number(), 0);
  EXPECT_EQ(content(QStringLiteral("a.mp3")), "audio");
  EXPECT_EQ(errorOf([&] { fs_.rename(folder() + "gone.mp3", folder() + "gone.mp3"); }).number(),
            53);
}

TEST_F(PosixFileSystemTest, RenameNeverReplacesATakenName) {
  writeFile(QStringLiteral("B b.mp3"), "first");
  writeFile(QStringLiteral("B_b.mp3"), "second");
  // A link to the file is another file under that name, however it leads back.
  ASSERT_EQ(::symlink("C c.mp3", bytes("C_c.mp3").constData()), 0);
  writeFile(QStringLiteral("C c.mp3"), "third");

  const RuntimeError taken =
      errorOf([&] { fs_.rename(folder() + "B b.mp3", folder() + "B_b.mp3"); });
  EXPECT_EQ(taken.number(), 58);
  EXPECT_TRUE(taken.description().contains(QStringLiteral("B b.mp3"))) << taken.what();
  EXPECT_TRUE(taken.description().contains(QStringLiteral("B_b.mp3"))) << taken.what();
  EXPECT_EQ(errorOf([&] { fs_.rename(folder() + "C c.mp3", folder() + "C_c.mp3"); }).number(), 58);
  EXPECT_EQ(renameByLinking(bytes("C c.mp3").constData(), bytes("C_c.mp3").constData()), EEXIST);
  EXPECT_EQ(content(QStringLiteral("B b.mp3")), "first");
  EXPECT_EQ(content(QStringLiteral("B_b.mp3")), "second");
  EXPECT_EQ(content(QStringLiteral("C c.mp3")), "third");
  EXPECT_EQ(content(QStringLiteral("C_c.mp3")), "third");
}

// A rename by linking cut off between its link and its unlink leaves the file under
// both names; the next rename completes it, whichever way it renames.
TEST_F(PosixFileSystemTest, ARenameCutOffMidwayIsCompleted) {
  writeFile(QStringLiteral("a b.mp3"), "first");
  writeFile(QStringLiteral("c d.mp3"), "second");
  ASSERT_EQ(::link(bytes("a b.mp3").constData(), bytes("a_b.mp3").constData()), 0);
  ASSERT_EQ(::link(bytes("c d.mp3").constData(), bytes("c_d.mp3").constData()), 0);

  EXPECT_EQ(errorOf([&] { fs_.rename(folder() + "a b.mp3", folder() + "a_b.mp3"); }).number(), 0);
  EXPECT_EQ(renameByLinking(bytes("c d.mp3").constData(), bytes("c_d.mp3").constData()), 0);

  EXPECT_FALSE(exists(QStringLiteral("a b.mp3")));
  EXPECT_FALSE(exists(QStringLiteral("c d.mp3")));
  EXPECT_EQ(content(QStringLiteral("a_b.mp3")), "first");
  EXPECT_EQ(content(QStringLiteral("c_d.mp3")), "second");
  struct stat st {};
  ASSERT_EQ(::stat(bytes("a_b.mp3").constData(), &st), 0);
  EXPECT_EQ(st.st_nlink, 1u);
}

// A rename in a dry run: the rename's own error, or none, and nothing changed.
TEST_F(PosixFileSystemTest, ARenameInADryRunForetellsTheRename) {
  const struct {
    const char* what;
    const char* to;
    std::function<void()> prepare;
    int error;
  } cases[] = {
      {"a free name", "a_b.mp3", [] {}, 0},
      {"its own name", "a b.mp3", [] {}, 0},
      {"another file", "a_b.mp3", [&] { writeFile(QStringLiteral("a_b.mp3"), "other"); }, 58},
      {"a link leading nowhere", "a_b.mp3",
       [&] { ASSERT_EQ(::symlink("gone.mp3", bytes("a_b.mp3").constData()), 0); }, 58},
      {"a second name, left by a rename cut off midway", "a_b.mp3",
       [&] { ASSERT_EQ(::link(bytes("a b.mp3").constData(), bytes("a_b.mp3").constData()), 0); },
       0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    for (const char* name : {"a b.mp3", "a_b.mp3"}) ::unlink(bytes(name).constData());
    writeFile(QStringLiteral("a b.mp3"), "audio");
    c.prepare();
    const QString from = folder() + QStringLiteral("a b.mp3");
    const QString to = folder() + QString::fromUtf8(c.to);
    const test::TreeSnapshot before = test::snapshotTree(folder());

    const RuntimeError checked = errorOf([&] { fs_.dryRun()->rename(from, to); });
    EXPECT_EQ(test::snapshotTree(folder()), before);
    const RuntimeError renamed = errorOf([&] { fs_.rename(from, to); });
    EXPECT_EQ(checked.number(), c.error);
    EXPECT_EQ(renamed.number(), c.error);
    EXPECT_EQ(checked.description(), renamed.description());
  }
}

TEST_F(PosixFileSystemTest, RenameOfAMissingFileRaises53) {
  const RuntimeError missing =
      errorOf([&] { fs_.rename(folder() + "x y.mp3", folder() + "x_y.mp3"); });
  EXPECT_EQ(missing.number(), 53);
  EXPECT_TRUE(missing.description().contains(QStringLiteral("x y.mp3"))) << missing.what();
  EXPECT_FALSE(exists(QStringLiteral("x_y.mp3")));
}

// The way round for file systems without RENAME_NOREPLACE, tried here directly.
TEST_F(PosixFileSystemTest, RenameByLinkingNeverReplacesEither) {
  writeFile(QStringLiteral("a b.mp3"), "first");
  writeFile(QStringLiteral("c d.mp3"), "second");
  writeFile(QStringLiteral("c_d.mp3"), "third");

  EXPECT_EQ(renameByLinking(bytes("a b.mp3").constData(), bytes("a_b.mp3").constData()), 0);
  EXPECT_FALSE(exists(QStringLiteral("a b.mp3")));
  EXPECT_EQ(content(QStringLiteral("a_b.mp3")), "first");

  EXPECT_EQ(renameByLinking(bytes("c d.mp3").constData(), bytes("c_d.mp3").constData()), EEXIST);
  EXPECT_EQ(content(QStringLiteral("c d.mp3")), "second");
  EXPECT_EQ(content(QStringLiteral("c_d.mp3")), "third");

  EXPECT_EQ(renameByLinking(bytes("e f.mp3").constData(), bytes("e_f.mp3").constData()), ENOENT);
}

}  // namespace
}  // namespace orv::platform
