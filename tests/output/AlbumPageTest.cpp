#include "output/AlbumPage.h"

#include "tests/output/PageFolders.h"
#include "tests/support/Errors.h"
#include "tests/support/Unprivileged.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace orv::test {
namespace {

// The bytes of page lines, each ending in CR LF.
QByteArray lines(std::initializer_list<const char*> texts) {
  QByteArray out;
  for (const char* t : texts) out.append(t).append("\r\n");
  return out;
}

const QByteArray kDeclarations =
    lines({"cdtitle = new Array(cnt+1);", "cdartist = new Array(cnt+1);", "fil = new Array(cnt+1);",
           "bg_name = new Array(cnt+1);", "tim = new Array(cnt+1);", "num = new Array(cnt+1);"});

// The page of one track with these texts, between the test templates.
QByteArray oneTrackPage(const char* album, const char* artist, const char* file, const char* title,
                        const char* milliseconds) {
  return lines({"<head>", "var cnt = Number(0);"}) + kDeclarations + "cdtitle[0] = \"" + album +
         "\";\r\ncdartist[0] = \"" + artist + "\";\r\nfil[0] = \"" + file +
         "\";\r\nbg_name[0] = \"" + title + "\";\r\ntim[0] = new Number(" + milliseconds +
         ");\r\n" + lines({"</tail>"});
}

TEST(AlbumPage, OneTrackGivesIndexZeroInEveryArray) {
  PageFolders f;
  WriteAlbumHtml(f.table({{"Album", "Artist", "01_a.mp3", "Song", "0:03:25"}}), 1, f.program,
                 f.fileSystem);
  EXPECT_EQ(f.page(), oneTrackPage("Album", "Artist", "01_a.mp3", "Song", "205000"));
}

TEST(AlbumPage, TemplatesReadOnceServeEveryPage) {
  PageFolders f;
  const PageTemplates templates = PageTemplates::load(f.program, f.fileSystem);
  f.setTemplates("changed\r\n", "changed\r\n");  // not read again
  for (const char* title : {"One", "Two"}) {
    WriteAlbumPage(f.album, f.table({{"Album", "Artist", "01_a.mp3", title, "0:03:25"}}), 1,
                   templates, f.fileSystem);
    EXPECT_EQ(f.page(), oneTrackPage("Album", "Artist", "01_a.mp3", title, "205000"));
  }
  // A template that could not be read fails each page as it is written, not the load.
  QFile::remove(f.program + "tail.txt");
  const PageTemplates withoutTail = PageTemplates::load(f.program, f.fileSystem);
  const RuntimeError e = errorOf([&] {
    WriteAlbumPage(f.album, f.table({{"Album", "Artist", "01_a.mp3", "Three", "0:03:25"}}), 1,
                   withoutTail, f.fileSystem);
  });
  EXPECT_TRUE(e.is(ErrorCode::kFileNotFound) && e.description().contains("tail.txt")) << e.what();
  EXPECT_EQ(f.page(), oneTrackPage("Album", "Artist", "01_a.mp3", "Two", "205000"));
}

TEST(AlbumPage, ThreeTracksFillOneArrayAfterTheOther) {
  PageFolders f;
  f.setTemplates("", "");
  WriteAlbumHtml(f.table({{"A", "X", "1.mp3", "One", "0:03:25"},
                          {"A", "Y", "2.mp3", "Two", "0:03:25"},
                          {"A", "Z", "3.mp3", "Three", "0:03:25"}}),
                 3, f.program, f.fileSystem);
  const QByteArray expected =
      lines({"var cnt = Number(2);"}) + kDeclarations +
      lines({"cdtitle[0] = \"A\";", "cdtitle[1] = \"A\";", "cdtitle[2] = \"A\";",
             "cdartist[0] = \"X\";", "cdartist[1] = \"Y\";", "cdartist[2] = \"Z\";",
             "fil[0] = \"1.mp3\";", "fil[1] = \"2.mp3\";", "fil[2] = \"3.mp3\";",
             "bg_name[0] = \"One\";", "bg_name[1] = \"Two\";", "bg_name[2] = \"Three\";",
             "tim[0] = new Number(205000);", "tim[1] = new Number(205000);",
             "tim[2] = new Number(205000);"});
  EXPECT_EQ(f.page(), expected);
  EXPECT_EQ(f.page().count("\r\n"), 22);
}

TEST(AlbumPage, TextsLoseOnlySurroundingSpaces) {
  PageFolders f;
  TrackTable table =
      f.table({{"  An Album ", " The  Artist", "a b.mp3 ", " \tTitle\t ", " 0:03:25 "}});
  table[0].folderPath = f.album + "  ";
  WriteAlbumHtml(table, 1, f.program, f.fileSystem);
  EXPECT_EQ(f.page(),
            oneTrackPage("An Album", "The  Artist", "a b.mp3", "\\u0009Title\\u0009", "205000"));
}

TEST(AlbumPage, UnknownPlayTimesGiveOneSecond) {
  PageFolders f;
  f.setTemplates("", "");
  WriteAlbumHtml(f.table({{"A", "X", "1.mp3", "T", "3:25"}, {"A", "X", "2.mp3", "T", ""}}), 2,
                 f.program, f.fileSystem);
  EXPECT_TRUE(f.page().endsWith("tim[0] = new Number(1000);\r\ntim[1] = new Number(1000);\r\n"));
}

TEST(AlbumPage, JapaneseTextsAreWrittenInCp932) {
  PageFolders f;
  // "<title>アルバム</title>" in CP932
  f.setTemplates("<title>\x83\x41\x83\x8B\x83\x6F\x83\x80</title>\r\n", "");
  WriteAlbumHtml(f.table({{"アルバム", "歌手", "曲.mp3", "タイトル情報なし", "0:00:01"}}), 1,
                 f.program, f.fileSystem);
  const QByteArray page = f.page();
  EXPECT_TRUE(page.startsWith("<title>\x83\x41\x83\x8B\x83\x6F\x83\x80</title>\r\n"));
  EXPECT_TRUE(page.contains("cdtitle[0] = \"\x83\x41\x83\x8B\x83\x6F\x83\x80\";\r\n"));
  EXPECT_TRUE(page.contains("cdartist[0] = \"\x89\xCC\x8E\xE8\";\r\n"));
  EXPECT_TRUE(page.contains("fil[0] = \"\x8B\xC8.mp3\";\r\n"));
  EXPECT_TRUE(page.contains(
      "bg_name[0] = \"\x83\x5E\x83\x43\x83\x67\x83\x8B\x8F\xEE\x95\xF1\x82\xC8\x82\xB5\";\r\n"));
  EXPECT_FALSE(page.startsWith("\xEF\xBB\xBF"));
}

TEST(AlbumPage, TextsAreEscapedForTheScriptString) {
  PageFolders f;
  WriteAlbumHtml(f.table({{"AC\\DC", "\u00A5en \u301C", "it\"s.mp3",
                           "</script><script>window.pwned=1</script>\\", "0:00:00"}}),
                 1, f.program, f.fileSystem);
  EXPECT_EQ(f.page(),
            oneTrackPage("AC\\\\DC", "\\u00A5en \\u301C", "it\\\"s.mp3",
                         "\\u003C/script>\\u003Cscript>window.pwned=1\\u003C/script>\\\\", "0"));
}

TEST(AlbumPage, EmojiAndControlCharactersBecomeUnicodeEscapes) {
  PageFolders f;
  TrackTable table =
      f.table({{"😀", "a\nb", "x\ty.mp3", QString("nul") + QChar(0) + "\x7F", "0:0:0"}});
  WriteAlbumHtml(table, 1, f.program, f.fileSystem);
  EXPECT_EQ(f.page(),
            oneTrackPage("\\uD83D\\uDE00", "a\\u000Ab", "x\\u0009y.mp3", "nul\\u0000\\u007F", "0"));
}

struct TemplateCase {
  const char* name;
  QByteArray head;
  QByteArray pageStart;  // what the page holds before the count line
};

void PrintTo(const TemplateCase& c, std::ostream* os) { *os << c.name; }

class TemplateLinesInPage : public testing::TestWithParam<TemplateCase> {};

TEST_P(TemplateLinesInPage, EndWithCrLf) {
  const TemplateCase& c = GetParam();
  PageFolders f;
  f.setTemplates(c.head, c.head);
  WriteAlbumHtml(f.table({{"A", "X", "1.mp3", "T", ""}}), 1, f.program, f.fileSystem);
  const QByteArray page = f.page();
  EXPECT_TRUE(page.startsWith(c.pageStart + "var cnt = Number(0);\r\n")) << page.toStdString();
  EXPECT_TRUE(page.endsWith("tim[0] = new Number(1000);\r\n" + c.pageStart)) << page.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Templates, TemplateLinesInPage,
    testing::Values(
        TemplateCase{"crlf_byte_for_byte", "<html>\r\n\r\n  <script>\r\n",
                     "<html>\r\n\r\n  <script>\r\n"},
        TemplateCase{"lf_only_is_one_line", "<html>\n<script>\n", "<html>\n<script>\n\r\n"},
        TemplateCase{"no_final_line_end", "<html>\r\n<script>", "<html>\r\n<script>\r\n"},
        TemplateCase{"lone_cr_ends_a_line", "a\rb\r\r\nc", "a\r\nb\r\n\r\nc\r\n"},
        TemplateCase{"empty", "", ""}, TemplateCase{"one_empty_line", "\r\n", "\r\n"},
        // NEC-selected IBM extension: read as U+2170, written as Windows writes it.
        TemplateCase{"cp932_duplicates", "\x83\x65\xEE\xEF\r\n", "\x83\x65\xFA\x40\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AlbumPage, ReplacesThePreviousPageWhole) {
  PageFolders f;
  writeFile(f.album + "disk.html", QByteArray(100000, 'x'));
  WriteAlbumHtml(f.table({{"A", "X", "1.mp3", "T", "0:03:25"}}), 1, f.program, f.fileSystem);
  EXPECT_EQ(f.page(), oneTrackPage("A", "X", "1.mp3", "T", "205000"));
  EXPECT_EQ(f.albumEntries(), QStringList({"disk.html", "jacket.jpg"}));
}

// A failing build leaves the previous page byte for byte, and nothing else behind.
class FailedBuild : public testing::Test {
 protected:
  void expectFailure(const TrackTable& table, Int16 n, ErrorCode code, const char* fileNamed) {
    // The previous page, unless the test made its own.
    if (!QFileInfo::exists(f.album + "disk.html")) writeFile(f.album + "disk.html", previous);
    const RuntimeError e = errorOf([&] { WriteAlbumHtml(table, n, f.program, f.fileSystem); });
    EXPECT_TRUE(e.is(code)) << e.what();
    EXPECT_TRUE(e.description().contains(fileNamed)) << e.what();
    EXPECT_EQ(f.page(), previous);
    EXPECT_EQ(f.albumEntries(), QStringList({"disk.html"}));
  }

  PageFolders f;
  const QByteArray previous = "<html>previous page</html>\r\n";
  const TrackTable good = f.table({{"A", "X", "1.mp3", "T", "0:03:25"}});
};

TEST_F(FailedBuild, MissingHeadTemplate) {
  QFile::remove(f.program + "head.txt");
  expectFailure(good, 1, ErrorCode::kFileNotFound, "head.txt");
}

TEST_F(FailedBuild, MissingTailTemplate) {
  QFile::remove(f.program + "tail.txt");
  expectFailure(good, 1, ErrorCode::kFileNotFound, "tail.txt");
}

TEST_F(FailedBuild, TemplateThatIsNotCp932) {
  f.setTemplates("<html>\r\n\x82\r\n", "");
  expectFailure(good, 1, ErrorCode::kPathFileAccessError, "head.txt");
}

TEST_F(FailedBuild, PlayTimeThatOverflowsMidway) {
  const TrackTable table = f.table({{"A", "X", "1.mp3", "T", "0:03:25"},
                                    {"A", "X", "2.mp3", "T", "596:31:24"},
                                    {"A", "X", "3.mp3", "T", "0:03:25"}});
  expectFailure(table, 3, ErrorCode::kOverflow, "");
}

TEST_F(FailedBuild, PlayTimeWithAThirdColon) {
  expectFailure(f.table({{"A", "X", "1.mp3", "T", "1:2:3:4"}}), 1, ErrorCode::kSubscriptOutOfRange,
                "");
}

TEST_F(FailedBuild, CountPastTheLargestTable) {
  TrackTable table = f.table({{"A", "X", "1.mp3", "T", "0:03:25"}});
  table.resize(32767);
  table[0].folderPath = f.album;
  expectFailure(table, 32767, ErrorCode::kOverflow, "");
}

// A page its owner protected stays as it is: no temporary file, no cover.
TEST_F(FailedBuild, ReadOnlyPage) {
  writeFile(f.album + "disk.html", previous);
  // chmod a-w: no one may write it, root included.
  ASSERT_EQ(::chmod(QFile::encodeName(f.album + "disk.html").constData(), 0444), 0);
  expectFailure(good, 1, ErrorCode::kPathFileAccessError, "disk.html");
}

TEST_F(FailedBuild, PageThatIsALink) {
  writeFile(f.program + "elsewhere.html", previous);
  ASSERT_TRUE(QFile::link(f.program + "elsewhere.html", f.album + "disk.html"));
  expectFailure(good, 1, ErrorCode::kPathFileAccessError, "disk.html");
  EXPECT_TRUE(QFileInfo(f.album + "disk.html").isSymLink());
}

TEST_F(FailedBuild, ReadOnlyAlbumFolder) {
  asUnprivilegedUser(QDir::cleanPath(f.album + ".."), [&] {
    writeFile(f.album + "disk.html", previous);
    ASSERT_EQ(::chmod(QFile::encodeName(f.album).constData(), 0555), 0);
    expectFailure(good, 1, ErrorCode::kPermissionDenied, "disk.html");
    ::chmod(QFile::encodeName(f.album).constData(), 0755);
  });
}

TEST(AlbumPage, WithoutAPreviousPageAFailureLeavesNone) {
  PageFolders f;
  QFile::remove(f.program + "tail.txt");
  EXPECT_THROW(WriteAlbumHtml(f.table({{"A", "X", "1.mp3", "T", ""}}), 1, f.program, f.fileSystem),
               RuntimeError);
  EXPECT_TRUE(f.albumEntries().isEmpty());
}

TEST(AlbumPage, MissingAlbumFolder) {
  PageFolders f;
  TrackTable table = f.table({{"A", "X", "1.mp3", "T", ""}});
  table[0].folderPath = f.album + "gone/";
  const RuntimeError e = errorOf([&] { WriteAlbumHtml(table, 1, f.program, f.fileSystem); });
  EXPECT_TRUE(e.is(ErrorCode::kPathNotFound)) << e.what();
  EXPECT_TRUE(e.description().contains(f.album + "gone/")) << e.what();
}

TEST(AlbumCover, IsCopiedWhenTheAlbumHasNone) {
  PageFolders f;
  WriteAlbumHtml(f.table({{"A", "X", "1.mp3", "T", ""}}), 1, f.program, f.fileSystem);
  EXPECT_EQ(readFile(f.album + "jacket.jpg"), "program cover");
}

TEST(AlbumCover, TheAlbumsOwnCoverIsKept) {
  PageFolders f;
  writeFile(f.album + "jacket.jpg", "the user's cover");
  WriteAlbumHtml(f.table({{"A", "X", "1.mp3", "T", ""}}), 1, f.program, f.fileSystem);
  EXPECT_EQ(readFile(f.album + "jacket.jpg"), "the user's cover");
}

// A file system where the album's cover appears just after the writer looked for it.
class CoverArrivesLate : public platform::PosixFileSystem {
 public:
  explicit CoverArrivesLate(QString cover) : cover_(std::move(cover)) {}
  bool fileExists(const QString& path) override {
    if (path == cover_ && !arrived_) {
      arrived_ = true;
      writeFile(cover_, "arrived meanwhile");
      return false;
    }
    return PosixFileSystem::fileExists(path);
  }

 private:
  QString cover_;
  bool arrived_ = false;
};

TEST(AlbumCover, ACoverArrivingMeanwhileIsNeitherReplacedNorAnError) {
  PageFolders f;
  CoverArrivesLate fileSystem(f.album + "jacket.jpg");
  WriteAlbumHtml(f.table({{"A", "X", "1.mp3", "T", ""}}), 1, f.program, fileSystem);
  EXPECT_EQ(readFile(f.album + "jacket.jpg"), "arrived meanwhile");
}

TEST(AlbumCover, AFolderInItsPlaceIsAnError) {
  PageFolders f;
  QDir(f.album).mkdir("jacket.jpg");
  const RuntimeError e = errorOf([&] {
    WriteAlbumHtml(f.table({{"A", "X", "1.mp3", "T", ""}}), 1, f.program, f.fileSystem);
  });
  EXPECT_TRUE(e.is(ErrorCode::kFileAlreadyExists)) << e.what();
  EXPECT_TRUE(QFileInfo(f.album + "jacket.jpg").isDir());
}

TEST(AlbumCover, MissingFromTheProgramFolderFailsAfterThePage) {
  PageFolders f;
  QFile::remove(f.program + "jacket.jpg");
  const RuntimeError e = errorOf([&] {
    WriteAlbumHtml(f.table({{"A", "X", "1.mp3", "T", ""}}), 1, f.program, f.fileSystem);
  });
  EXPECT_TRUE(e.is(ErrorCode::kFileNotFound)) << e.what();
  EXPECT_TRUE(e.description().contains(f.program + "jacket.jpg")) << e.what();
  EXPECT_EQ(f.page(), oneTrackPage("A", "X", "1.mp3", "T", "1000"));
  EXPECT_EQ(f.albumEntries(), QStringList({"disk.html"}));
}

}  // namespace
}  // namespace orv::test
