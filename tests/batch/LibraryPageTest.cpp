// The library page lists the library, not the run: runs of the real program against one
// page, two runs at once, a file that appears where a new page goes, and the page's cards
// as they are written and read back.

#include "batch/LibraryCards.h"
#include "batch/LibraryIndex.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixFolderLocks.h"
#include "tests/batch/BatchRun.h"
#include "tests/support/Errors.h"
#include "tests/support/Files.h"
#include "tests/support/TemporaryFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

#include <functional>

namespace orv::test {
namespace {

// The folders the library page at `index` lists, in its order; "damaged" when its cards
// can't be read.
QStringList listed(const QString& index) {
  const std::optional<QJsonArray> cards = batch::readLibraryCards(readFile(index));
  if (!cards) return {QStringLiteral("damaged")};
  QStringList folders;
  for (const QJsonValue& card : *cards) folders << card[QStringLiteral("folder")].toString();
  return folders;
}

// What the page's head says the library holds.
QString summaryOf(const QString& index) {
  const QByteArray page = readFile(index);
  const QByteArray start = R"(<p id="library-meta" class="meta">)";
  const qsizetype from = page.indexOf(start) + start.size();
  return QString::fromUtf8(page.mid(from, page.indexOf("</p>", from) - from));
}

class LibraryPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    for (const auto& [folder, tracks] : {std::pair{"A/One", 2}, {"A/Two", 1}, {"B", 3}}) {
      ASSERT_TRUE(QDir().mkpath(lib(folder)));
      for (int k = 1; k <= tracks; ++k) {
        writeFile(lib(folder) + QStringLiteral("/%1 song.mp3").arg(k),
                  track(QStringLiteral("Song"), QString::fromLatin1(folder)));
      }
    }
  }
  QString lib(const char* folder) const {
    return dir.path() + QStringLiteral("/lib/") + QString::fromLatin1(folder);
  }

  TemporaryFolder dir;
  const QString index = dir.path() + QStringLiteral("/index.html");
};

TEST_F(LibraryPageTest, ListsTheLibraryNotTheRun) {
  const QStringList all{"lib/A/One", "lib/A/Two", "lib/B"}, oneAndB{"lib/A/One", "lib/B"};
  const QString whole = "3 アルバム・6 曲・0:06", justB = "1 アルバム・3 曲・0:03";
  const auto nothing = [] {};
  const auto clash = [&] {
    for (const char* name : {"/x y.mp3", "/x_y.mp3"}) writeFile(lib("A/One") + name, track("", ""));
  };
  const auto removeTwo = [&] { ASSERT_TRUE(removeTree(lib("A/Two"))); };
  const auto removeOnesPage = [&] { QFile::remove(lib("A/One") + "/disk.html"); };
  const auto linkToB = [&] { QFile::link("B", lib("Link")); };
  const auto damage = [&] {
    writeFile(index, QByteArray(batch::kLibraryIndexMarker) + batch::kLibraryDataStart +
                         R"([{"folder":"lib/B","tracks":)");
  };
  const QString unread = "一覧ページ " + index + " のアルバムを読み取れ";
  const QString kept = unread + "ず、載せるアルバムもないため、そのままにしました。";
  const QString anew = unread + "ないため、今回作成したアルバムだけで作り直しました。";
  const struct {
    const char* what;
    std::function<void()> prepare;
    QString folder;  // besides "-r" for the whole library
    int exitCode;
    QStringList listed;
    QString summary;  // empty: the page as it was
    QString err;      // a line on standard error
  } runs[] = {
      {"the whole library", nothing, "lib", 0, all, whole, ""},
      {"a typo", nothing, "lib/Typo", 1, all, whole, ""},
      {"one album", nothing, "lib/B", 0, all, whole, ""},
      {"a failing album with an earlier page", clash, "lib/A/One", 1, all, whole, ""},
      {"a removed folder", removeTwo, "lib/B", 0, oneAndB, "2 アルバム・5 曲・0:05", ""},
      {"a removed page", removeOnesPage, "lib/Typo", 1, {"lib/B"}, justB, ""},
      {"the same album by a link", linkToB, "lib/Link", 0, {"lib/Link"}, justB, ""},
      {"a damaged page and nothing built", damage, "lib/Typo", 1, {"damaged"}, "", kept},
      {"a damaged page and an album", damage, "lib/B", 0, {"lib/B"}, justB, anew},
  };
  for (const auto& run : runs) {
    SCOPED_TRACE(run.what);
    run.prepare();
    const QByteArray before = QFile::exists(index) ? readFile(index) : QByteArray();

    QStringList arguments{"--index", "index.html", run.folder};
    if (run.folder == u"lib") arguments << "-r";
    const Ran ran = orv(arguments, dir.path());

    EXPECT_EQ(ran.exitCode, run.exitCode) << ran.err.toStdString();
    EXPECT_EQ(listed(index), run.listed);
    if (run.summary.isEmpty()) {
      EXPECT_EQ(readFile(index), before);
    } else {
      EXPECT_EQ(summaryOf(index), run.summary);
    }
    EXPECT_TRUE(ran.err.contains(run.err + u'\n')) << ran.err.toStdString();
  }
}

// The second run to write the page reads it under the lock of its folder, after the
// first wrote it: both albums stay.
TEST_F(LibraryPageTest, TwoRunsAtOnceKeepEachOthersAlbums) {
  platform::PosixFolderLocks locks;
  auto held = locks.lock(dir.path() + u'/', [] { return true; });
  QProcess first, second;
  startOrv(first, {"--index", "index.html", "lib/A/One"}, dir.path());
  startOrv(second, {"--index", "index.html", "lib/B"}, dir.path());
  for (QProcess* run : {&first, &second}) {
    run->setReadChannel(QProcess::StandardError);
    while (!run->peek(1 << 16).contains(QStringLiteral("経過").toUtf8())) {
      ASSERT_TRUE(run->waitForReadyRead(30000));
    }
  }
  held.reset();  // both built their albums, and wait for the page's folder

  EXPECT_EQ(finished(first).exitCode, 0);
  EXPECT_EQ(finished(second).exitCode, 0);
  EXPECT_EQ(listed(index), (QStringList{"lib/A/One", "lib/B"}));
}

// A file that appears where a new library page goes, after the page's check, stays.
TEST_F(LibraryPageTest, ANewLibraryPageNeverReplacesAFileThatAppearedMeanwhile) {
  class FileArrivesFirst : public platform::PosixFileSystem {
   public:
    void createFileAtomically(const QString& path, const QByteArray& content) override {
      writeFile(path, "the user's page");
      PosixFileSystem::createFileAtomically(path, content);
    }
  } fileSystem;

  platform::PosixFolderLocks folderLocks;
  const RuntimeError e = errorOf(
      [&] { batch::writeLibraryIndex(index, {}, fileSystem, folderLocks, [] { return true; }); });
  EXPECT_TRUE(e.is(ErrorCode::kFileAlreadyExists)) << e.what();
  EXPECT_EQ(e.description(),
            QStringLiteral("一覧ページを書く間に %1 に別のファイルができたため、置き換えずにその"
                           "ままにしました。別のファイル名を指定してください。")
                .arg(index));
  EXPECT_EQ(readFile(index), "the user's page");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"index.html"});
}

// What the library page holds of each album, from which it draws the cards: an album
// without a title by its folder, every album with its folder relative to the page.
TEST(LibraryIndexPage, HoldsEachAlbumAsItsCardShowsIt) {
  struct Case {
    const char* index;
    batch::AlbumOutcome album;
    const char* json;
  };
  using batch::AlbumStatus;
  const auto album = [](const char* folder, const char* title, bool titled, bool artistTagged) {
    return batch::AlbumOutcome{
        AlbumStatus::kBuilt,
        {.folder = QString::fromUtf8(folder),
         .texts = {QString::fromUtf8(title), QStringLiteral("歌手"), titled, artistTagged},
         .tracks = 2,
         .milliseconds = 65000}};
  };
  const Case cases[] = {
      {"/m/index.html", album("/m/A/B/", "題", true, true),
       R"({"folder":"A/B","title":"題","artist":"歌手","tracks":2,"time":"1:05","milliseconds":65000})"},
      // No artist where the tags name none: no placeholder text on a card.
      {"/m/index.html", album("/m/A/B/", "題", true, false),
       R"({"folder":"A/B","title":"題","tracks":2,"time":"1:05","milliseconds":65000})"},
      {"/m/index.html", album("/m/A/B/", "アルバムタイトルなし", false, false),
       R"({"folder":"A/B","title":"B","fromFolder":true,"tracks":2,"time":"1:05","milliseconds":65000})"},
      {"/m/index.html", album("/m/A/B/", "アルバムタイトルなし", false, true),
       R"({"folder":"A/B","title":"B","fromFolder":true,"artist":"歌手","tracks":2,
           "time":"1:05","milliseconds":65000})"},
      {"/m/index.html", album("/m/", "アルバムタイトルなし", false, false),
       R"({"folder":".","title":"m","fromFolder":true,"tracks":2,"time":"1:05","milliseconds":65000})"},
      {"/site/index.html", album("/m/夜 #1/", "</script><!--", true, true),
       R"({"folder":"../m/夜 #1","title":"</script><!--","artist":"歌手","tracks":2,
           "time":"1:05","milliseconds":65000})"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.json);
    const QJsonObject card =
        batch::libraryCard(QFileInfo(QString::fromUtf8(c.index)).dir(), c.album.album);
    EXPECT_EQ(card, QJsonDocument::fromJson(c.json).object());
    // As the page holds it, and reads it back.
    const QByteArray page = batch::libraryIndexPage(QString::fromUtf8(c.index), {card});
    const qsizetype from = page.indexOf(batch::kLibraryDataStart);
    EXPECT_FALSE(page.mid(from + 1, page.indexOf("</script>", from) - from - 1).contains('<'));
    EXPECT_EQ(batch::readLibraryCards(page), QJsonArray{card});
  }
}

TEST(LibraryCards, APageWhoseCardsCannotBeReadIsDamaged) {
  const QByteArray start = batch::kLibraryDataStart;
  const struct {
    QByteArray page;
    std::optional<QJsonArray> cards;
  } cases[] = {
      {start + R"([{"folder":"A","title":"\u003c/script>","new":1}]</script>)",
       QJsonArray{QJsonObject{{"folder", "A"}, {"title", "</script>"}, {"new", 1}}}},
      {start + "[]</script>", QJsonArray{}},
      {"<p>no data</p>", std::nullopt},
      {start + R"([{"folder":"A"})", std::nullopt},
      {start + R"([{"folder":"A"},]</script>)", std::nullopt},
      {start + R"({"folder":"A"}</script>)", std::nullopt},
      {start + R"([["A"]]</script>)", std::nullopt},
      {start + R"([{"title":"A"}]</script>)", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(batch::readLibraryCards(c.page), c.cards) << c.page.constData();
  }
}

// Cards of an older Orv have no milliseconds: their time text counts.
TEST(LibraryCards, TheSummaryCountsEveryCard) {
  const QJsonArray cards{QJsonObject{{"tracks", 2}, {"time", "1:02:03"}},
                         QJsonObject{{"tracks", 1}, {"time", "0:05"}, {"milliseconds", 4600}},
                         QJsonObject{{"tracks", 4}, {"time", "?"}}};
  EXPECT_EQ(batch::libraryTotals(cards),
            (batch::LibraryTotals{.albums = 3, .tracks = 7, .milliseconds = 3'723'000 + 4600}));
}

}  // namespace
}  // namespace orv::test
