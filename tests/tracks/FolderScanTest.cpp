// The scan on real folders: the file system is the program's own, only the detail
// source is a stand-in.

#include "tracks/FolderScan.h"

#include "platform/posix/PosixFileSystem.h"
#include "tests/support/Errors.h"
#include "tests/support/Fakes.h"
#include "tests/support/Files.h"
#include "tests/support/TemporaryFolder.h"
#include "tests/support/Unprivileged.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <stdexcept>

namespace orv {
namespace {

using test::errorOf;

// The real file system, with every rename written down, so the order of renames and tag
// reads can be checked.
class RecordingFileSystem : public platform::PosixFileSystem {
 public:
  explicit RecordingFileSystem(QStringList& log) : log_(log) {}
  void rename(const QString& from, const QString& to) override {
    log_ << QStringLiteral("rename %1 -> %2")
                .arg(QFileInfo(from).fileName(), QFileInfo(to).fileName());
    PosixFileSystem::rename(from, to);
  }

 private:
  QStringList& log_;
};

class FolderScanTest : public ::testing::Test {
 protected:
  // Tag reading: written down, and checked that the file is already under its new name.
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    trackDetails_.onRead = [this](const QString& path) {
      const QString name = QFileInfo(path).fileName();
      log_ << QStringLiteral("tags ") + name;
      EXPECT_TRUE(QFile::exists(path)) << name.toStdString();
      if (onReadTags) onReadTags(name);
    };
    trackDetails_.onReadAhead = [this](const std::vector<QString>& paths) {
      QStringList names;
      for (const QString& path : paths) names << QFileInfo(path).fileName();
      log_ << QStringLiteral("read ahead ") + names.join(u'|');
    };
  }

  QString folder() const { return dir_.path() + u'/'; }

  // Each file gets its own name as its content, to show that no content moved.
  void writeFiles(const QStringList& names) const {
    for (const QString& name : names) test::writeFile(folder() + name, name.toUtf8());
  }
  QByteArray content(const QString& name) const { return test::readFile(folder() + name); }
  QStringList filesOnDisk() const {
    return QDir(folder()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
  }

  // The build's two passes; the fill pass only when the count is not 0.
  Int16 build() {
    const Int16 count = CountMp3Files(folder(), context_);
    if (count > 0) table_ = FillTrackTable(folder(), count, context_).table;
    return count;
  }

  QStringList tableNames() const {
    QStringList names;
    for (Int16 i = 0; i < table_.count(); ++i) {
      names << table_[i].listedName + QStringLiteral(" => ") + table_[i].fileName;
    }
    return names;
  }

  test::TemporaryFolder dir_;
  QStringList log_;
  RecordingFileSystem fileSystem_{log_};
  test::FakeTrackDetails trackDetails_;
  TrackTable table_;
  std::function<void(const QString& name)> onReadTags;
  ScanContext context_{.fileSystem = fileSystem_, .trackDetails = trackDetails_};
};

TEST_F(FolderScanTest, EntersTheFilesInListingOrderAndReplacesEverySpace) {
  const QStringList names{"A.mp3",          "B b.mp3",  "C\u3000c.mp3", "  lead  and trail .mp3",
                          "tab\tstays.mp3", "d　 e.mp3"};
  writeFiles(names);
  writeFiles({"x y.wav", ".hidden y.mp3"});

  EXPECT_EQ(build(), 6);
  EXPECT_EQ(tableNames(),
            (QStringList{"  lead  and trail .mp3 => __lead__and_trail_.mp3", "A.mp3 => A.mp3",
                         "B b.mp3 => B_b.mp3", "C\u3000c.mp3 => C_c.mp3", "d　 e.mp3 => d__e.mp3",
                         "tab\tstays.mp3 => tab\tstays.mp3"}));
  for (Int16 i = 0; i < table_.count(); ++i) {
    EXPECT_EQ(table_[i].folderPath, folder());
    EXPECT_EQ(content(table_[i].fileName), table_[i].listedName.toUtf8());
  }
  EXPECT_EQ(filesOnDisk(),
            (QStringList{".hidden y.mp3", "A.mp3", "B_b.mp3", "C_c.mp3", "__lead__and_trail_.mp3",
                         "d__e.mp3", "tab\tstays.mp3", "x y.wav"}));
}

TEST_F(FolderScanTest, RenamesAndTagReadsAlternate) {
  writeFiles({"a 1.mp3", "b 2.mp3", "c3.mp3"});
  // When tags are read, the files after the current one still carry their old names.
  onReadTags = [&](const QString& name) {
    if (name == u"a_1.mp3") {
      EXPECT_TRUE(QFile::exists(folder() + "b 2.mp3"));
    }
  };
  build();
  // The files are read ahead, under their listed names, only once the count has passed.
  EXPECT_EQ(log_, (QStringList{"read ahead a 1.mp3|b 2.mp3|c3.mp3", "rename a 1.mp3 -> a_1.mp3",
                               "tags a_1.mp3", "rename b 2.mp3 -> b_2.mp3", "tags b_2.mp3",
                               "rename c3.mp3 -> c3.mp3", "tags c3.mp3"}));
}

TEST_F(FolderScanTest, ASecondScanRenamesNothing) {
  writeFiles({"01 Intro.mp3", "02 Two  Spaces.mp3", "03\u3000Wide.mp3"});
  build();
  const QStringList afterFirst = filesOnDisk();
  log_.clear();

  EXPECT_EQ(build(), 3);
  EXPECT_EQ(filesOnDisk(), afterFirst);
  for (Int16 i = 0; i < table_.count(); ++i) {
    EXPECT_EQ(table_[i].listedName, table_[i].fileName);
  }
  EXPECT_EQ(table_[1].fileName, QStringLiteral("02_Two__Spaces.mp3"));
}

TEST_F(FolderScanTest, ATakenNameStopsTheScanAndNoFileIsReplaced) {
  writeFiles({"A a.mp3", "B b.mp3", "B_b.mp3", "C c.mp3"});
  const RuntimeError e = errorOf([&] { build(); });

  EXPECT_EQ(e.number(), 58);
  EXPECT_TRUE(e.description().contains(QStringLiteral("B b.mp3"))) << e.what();
  EXPECT_TRUE(e.description().contains(QStringLiteral("B_b.mp3"))) << e.what();
  // The rename before the failing one stays; the ones after it never happen.
  EXPECT_EQ(filesOnDisk(), (QStringList{"A_a.mp3", "B b.mp3", "B_b.mp3", "C c.mp3"}));
  EXPECT_EQ(content("B b.mp3"), "B b.mp3");
  EXPECT_EQ(content("B_b.mp3"), "B_b.mp3");
  EXPECT_EQ(log_.last(), QStringLiteral("rename B b.mp3 -> B_b.mp3"));
}

TEST_F(FolderScanTest, ANameThatIsNotUtf8StopsTheCountingPass) {
  test::writeFileAt(QFile::encodeName(folder()) + "bad\xff name.mp3", "keep");
  writeFiles({"a b.mp3"});
  EXPECT_TRUE(errorOf([&] { CountMp3Files(folder(), context_); }).is(ErrorCode::kFileNotFound));
  EXPECT_TRUE(log_.isEmpty());
  EXPECT_TRUE(QFile::exists(folder() + QStringLiteral("a b.mp3")));
}

TEST_F(FolderScanTest, NoMp3FileCountsAs0) {
  writeFiles({"a.wav", ".hidden.mp3"});
  ASSERT_TRUE(QDir(folder()).mkdir(QStringLiteral("folder.mp3")));
  EXPECT_EQ(CountMp3Files(folder(), context_), 0);
  EXPECT_EQ(CountMp3Files(folder() + QStringLiteral("missing/"), context_), 0);
}

TEST_F(FolderScanTest, AFolderThatChangesBetweenThePassesEndsBeforeAnyRename) {
  const struct {
    const char* what;
    std::function<void()> change;
  } cases[] = {
      {"gained", [this] { writeFiles({"c c.mp3"}); }},
      {"lost", [this] { QFile::remove(folder() + QStringLiteral("b b.mp3")); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    for (const QString& name : filesOnDisk()) QFile::remove(folder() + name);
    writeFiles({"a a.mp3", "b b.mp3"});
    log_.clear();

    const Int16 count = CountMp3Files(folder(), context_);
    ASSERT_EQ(count, 2);
    c.change();
    const RuntimeError e = errorOf([&] { FillTrackTable(folder(), count, context_); });
    EXPECT_TRUE(e.description().contains(QStringLiteral("スキャン中にフォルダー"))) << e.what();
    EXPECT_TRUE(log_.isEmpty()) << log_.join(u'\n').toStdString();
    EXPECT_TRUE(QFile::exists(folder() + QStringLiteral("a a.mp3")));
  }
}

// The counting pass opens every file once: one that can't be read stops the build before
// any file is renamed, with the message tag reading would have shown.
TEST_F(FolderScanTest, AFileThatCannotBeReadStopsTheCountingPass) {
  writeFiles({"a a.mp3", "b b.mp3", "c c.mp3"});
  test::asUnprivilegedUser(folder(), [&] {
    ASSERT_EQ(::chmod(QFile::encodeName(folder() + "b b.mp3").constData(), 0), 0);
    EXPECT_EQ(errorOf([&] { build(); }).description(),
              QStringLiteral("ファイル「%1b b.mp3」を開けません。（%2）")
                  .arg(folder(), QString::fromLocal8Bit(std::strerror(EACCES))));
    EXPECT_TRUE(log_.isEmpty()) << log_.join(u'\n').toStdString();
    EXPECT_EQ(filesOnDisk(), (QStringList{"a a.mp3", "b b.mp3", "c c.mp3"}));
  });
}

TEST_F(FolderScanTest, AnErrorInTagReadingStopsTheScanAsItCame) {
  const struct {
    const char* what;
    std::function<void()> fail;
    int number;
  } cases[] = {
      {"file not found", [] { throw RuntimeError(ErrorCode::kFileNotFound); }, 53},
      {"overflow", [] { throw RuntimeError(ErrorCode::kOverflow); }, 6},
      {"fault", [] { throw std::out_of_range("bad index"); }, 0},
  };
  writeFiles({"a a.mp3", "b b.mp3"});
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    onReadTags = [&](const QString&) { c.fail(); };
    if (c.number == 0) {
      EXPECT_THROW(build(), std::out_of_range);
    } else {
      EXPECT_EQ(errorOf([&] { build(); }).number(), c.number);
    }
  }
  // Only the first file was renamed: each run stopped at its first tag reading.
  EXPECT_EQ(filesOnDisk(), (QStringList{"a_a.mp3", "b b.mp3"}));
}

}  // namespace
}  // namespace orv
