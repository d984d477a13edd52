// `orv --batch` as users run it: the real program, without a display, on a generated
// library of real MP3 files nested two levels deep (BatchLibrary.h), compared with the
// window's build of a copy of the same folders (the form on fakes of the window's edge).

#include "album/Build.h"
#include "batch/AlbumFinder.h"
#include "tests/batch/BatchLibrary.h"
#include "tests/batch/BatchRun.h"
#include "tests/mp3/LabelledTexts.h"
#include "tests/mp3/Mp3Files.h"
#include "tests/support/Files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <optional>

namespace orv::test {
namespace {

TEST_F(BatchTest, ARecursiveRunBuildsEveryAlbumAsTheWindowBuildsACopy) {
  copyTree(lib, dir.path() + QStringLiteral("/window"));
  const QString window = dir.path() + QStringLiteral("/window");

  const Ran run = orv({QStringLiteral("-r"), QStringLiteral("--json"), lib});

  EXPECT_EQ(run.exitCode, 1) << run.err.toStdString();
  const QList<QJsonObject> albums = jsonLines(run.out);
  const struct {
    QString folder;
    const char* status;
    int tracks;
    QStringList renamed;  // "from > to"
    bool cover;
    int error;             // 0: none
    QString windowChoice;  // the file the window's user picks; empty: can't be picked
  } expected[] = {
      {"Artist A/Album One",
       "built",
       3,
       {"01 Intro.mp3 > 01_Intro.mp3", "02 Second Song.mp3 > 02_Second_Song.mp3",
        "03\u3000Third.mp3 > 03_Third.mp3"},
       true,
       0,
       "01 Intro.mp3"},
      {"Artist A/Album Two", "built", 2, {}, false, 0, "a.mp3"},
      {"Artist B/Bad Bytes", "failed", 0, {}, false, 53, "ok song.mp3"},
      {"Artist B/Clash", "failed", 3, {"a b.mp3 > a_b.mp3"}, false, 58, "a b.mp3"},
      {"Bad\uFFFD Folder", "failed", 0, {}, false, 53, ""},
  };
  ASSERT_EQ(albums.size(), std::size(expected)) << run.out.toStdString();
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    const auto& want = expected[i];
    const QJsonObject& got = albums[qsizetype(i)];
    SCOPED_TRACE(want.folder.toStdString());
    EXPECT_EQ(got["folder"].toString(), lib + u'/' + want.folder);
    EXPECT_EQ(got["status"].toString(), QString::fromLatin1(want.status));
    EXPECT_EQ(got["tracks"].toInt(), want.tracks);
    QStringList renamed;
    for (const QJsonValue& r : got["renamed"].toArray()) {
      renamed << r["from"].toString() + QStringLiteral(" > ") + r["to"].toString();
    }
    EXPECT_EQ(renamed, want.renamed);
    const bool built = want.error == 0;
    EXPECT_EQ(got["page"].toString(), built ? got["folder"].toString() + "/disk.html" : "");
    // The tags' album and artist; nothing for an album that failed before reading them.
    const QJsonValue none(QJsonValue::Null);
    EXPECT_EQ(got["title"], built ? QJsonValue(want.folder) : none);
    EXPECT_EQ(got["artist"], built ? QJsonValue(QStringLiteral("歌手")) : none);
    EXPECT_EQ(got["time"], built ? QJsonValue(QStringLiteral("0:0%1").arg(want.tracks)) : none);
    EXPECT_EQ(got["cover_copied"].toBool(), want.cover);
    EXPECT_EQ(got["error_number"].toInt(), want.error);
    if (want.windowChoice.isEmpty()) {
      EXPECT_EQ(got["error"].toString(), batch::kSpecialFolderNameMessage);
      continue;
    }
    // The window on the copy: the same message, naming the copy's files.
    const std::optional<QString> shown =
        windowBuild(window + u'/' + want.folder + u'/' + want.windowChoice);
    EXPECT_EQ(got["error"].toString(), shown.value_or(QString()).replace(window, lib));
  }
  // Renames, pages and covers, and what the failures left, byte for byte as the window's.
  EXPECT_EQ(snapshotTree(lib), snapshotTree(window));
  EXPECT_TRUE(QFile::exists(lib + QStringLiteral("/Artist A/Album One/disk.html")));
  EXPECT_EQ(readFile(lib + QStringLiteral("/Artist A/Album Two/jacket.jpg")),
            "the user's own cover");
  EXPECT_TRUE(QFile::exists(lib + QStringLiteral("/.hidden/Album/h h.mp3")));
  EXPECT_TRUE(run.err.startsWith(
      QStringLiteral("作成 2、失敗 3、スキップ 4（mp3ファイルのないフォルダー）、5 曲、経過 ")))
      << run.err.toStdString();
}

TEST_F(BatchTest, OneJobAndTwoJobsGiveTheSameResult) {
  const QString twin = dir.path() + QStringLiteral("/twin");
  copyTree(lib, twin);

  const Ran one = orv({QStringLiteral("-r"), QStringLiteral("-j"), QStringLiteral("1"), lib});
  const Ran two = orv({QStringLiteral("-rj2"), twin});

  EXPECT_EQ(one.exitCode, 1);
  EXPECT_EQ(two.exitCode, 1);
  EXPECT_EQ(QString(one.out).replace(lib, twin), two.out);
  EXPECT_EQ(snapshotTree(lib), snapshotTree(twin));
}

TEST_F(BatchTest, NamedFoldersAndTheCommandLine) {
  const QString good = lib + QStringLiteral("/Artist A/Album Two");
  const QString empty = lib + QStringLiteral("/Empty");
  const QString band = dir.path() + QStringLiteral("/The Band");
  for (const char* disc : {"CD1", "CD2"}) {
    const QString folder = band + QStringLiteral("/Double Album/") + QString::fromLatin1(disc);
    ASSERT_TRUE(QDir().mkpath(folder));
    writeFile(folder + QStringLiteral("/a.mp3"), track("Song", "Album"));
  }
  const auto failed = [](const QString& folder, const QString& error) {
    return QStringLiteral("失敗      0曲         -  %1  エラー %2\n").arg(folder, error);
  };
  const struct {
    QStringList arguments;
    int exitCode;
    QString out;  // the start of standard output
    QString err;  // the start of standard error
  } cases[] = {
      {{good}, 0, "作成      2曲   0:00:02  " + good + "\n", "作成 1、失敗 0、"},
      // An empty folder named without -r is reported as the window reports it.
      {{empty},
       1,
       "失敗      0曲         -  " + empty + "  エラー: " + album::kNoMp3FilesMessage + "\n",
       ""},
      {{"-r", empty},
       1,
       "失敗      0曲         -  " + empty + "  エラー: " + album::kNoMp3FilesMessage + "\n",
       ""},
      // Built by the first case, and unchanged since: current.
      {{"Empty/../Artist A/./Album Two/", "-j", "3"},
       0,
       "最新      2曲   0:00:02  " + good + "\n",
       ""},
      // One folder by two paths, a link among them, is built once.
      {{good, "Link", "Artist A/Album One/../Album Two/"},
       0,
       "最新      2曲   0:00:02  " + good + "\n作成      3曲   0:00:03  " + lib + "/Link\n",
       "作成 1、最新 1、失敗 0、"},
      // Paths as people give them: each that can't be built fails alone, the rest go on.
      {{"Typo", good},
       1,
       failed(lib + "/Typo", "76: フォルダー " + lib + "/Typo がありません。") +
           "最新      2曲   0:00:02  " + good + "\n",
       "作成 0、最新 1、失敗 1、"},
      {{"-r", "Typo"},
       1,
       failed(lib + "/Typo", "76: フォルダー " + lib + "/Typo がありません。"),
       ""},
      {{"Artist A/Album Two/gone.mp3"},
       1,
       failed(good + "/gone.mp3", "76: ファイル " + good + "/gone.mp3 がありません。"),
       ""},
      // An MP3 file builds its folder, as the window does.
      {{"Artist A/Album Two/b.MP3"}, 0, "最新      2曲   0:00:02  " + good + "\n", ""},
      {{"-r", good + "/a.mp3"}, 0, "最新      2曲   0:00:02  " + good + "\n", ""},
      {{"Empty/notes.txt"},
       1,
       failed(empty + "/notes.txt",
              "75: " + empty +
                  "/notes.txt はフォルダーではありません。アルバムのフォルダー"
                  "か、その中のmp3ファイルを指定してください。"),
       ""},
      // Albums in the folders below: a hint at -r.
      {{"Artist A"},
       1,
       "失敗      0曲         -  " + lib + "/Artist A  エラー: " + album::kNoMp3FilesMessage +
           " その下のフォルダーにはmp3ファイルがあります。-r を付けると、それらをアルバムとして作"
           "成します。\n",
       ""},
      // Each folder is counted once, however often it is reached.
      {{"-r", band, band + "/Double Album"},
       0,
       "作成      1曲   0:00:01  " + band + "/Double Album/CD1\n作成      1曲   0:00:01  " + band +
           "/Double Album/CD2\n",
       "作成 2、失敗 0、スキップ 2（mp3ファイルのないフォルダー）、2 曲、経過 "},
      {{"--help"},
       0,
       "使い方: orv --batch [-r] [-n] [-c] [-f] [-w] [-j N] [--json] [--index FILE] "
       "[--encoding NAME] FOLDER...\n",
       ""},
      {{}, 2, "", "orv: アルバムのフォルダーを指定してください。\n"},
      {{"-x", good}, 2, "", "orv: 知らないオプションです: -x\n"},
      {{"--jobs=0", good}, 2, "", "orv: --jobs には 1 以上の整数を指定してください: 0\n"},
      {{good, "-j"}, 2, "", "orv: -j には同時に作るアルバムの数を指定してください。\n"},
      {{"--index", "Empty/notes.txt", good},
       2,
       "",
       "orv: " + empty + "/notes.txt は Orv が書いた一覧ページではないため、置き換えません。"},
      {{"--index", "Empty", good}, 2, "", "orv: " + empty + " はファイルではないため"},
  };
  // The batch takes no single-instance guard: it runs beside the window.
  QTemporaryDir runtime;
  QLockFile windowLock(runtime.path() + QStringLiteral("/orv.lock"));
  ASSERT_TRUE(windowLock.tryLock(0));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments.join(u' ').toStdString());
    const TreeSnapshot before = snapshotTree(lib);
    const Ran run = orv(c.arguments, lib, runtime.path());
    EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
    EXPECT_EQ(run.out.left(c.out.size()), c.out);
    EXPECT_EQ(run.err.left(c.err.size()), c.err);
    if (c.exitCode == 2) {
      EXPECT_EQ(snapshotTree(lib), before);
    }
  }
}

// The code page an album's 8-bit tag texts were read in: in the JSON and the dry run, and
// the user's own for the whole run. "넬" alone would read as Shift-JIS "ｳﾚ".
TEST_F(BatchTest, TheAlbumsTextEncodingIsReportedAndCanBeChosen) {
  const QString korean = dir.path() + QStringLiteral("/korean");
  ASSERT_TRUE(QDir().mkpath(korean));
  const auto cp949 = [](const QString& text) {
    return tagBytes({TextLabel::kCp949, text, {}, {}});
  };
  const QString titles[] = {QStringLiteral("넬"), QStringLiteral("기억을 걷는 시간"),
                            QStringLiteral("멀어지다")};
  for (int i = 0; i < 3; ++i) {
    writeFile(korean + QStringLiteral("/%1.mp3").arg(i + 1),
              id3v2Tag(3, {rawLatin1Frame("TIT2", cp949(titles[i])),
                           rawLatin1Frame("TPE1", cp949(QStringLiteral("넬"))),
                           rawLatin1Frame("TALB", "Healing Process")}) +
                  secondOfAudio());
  }
  const QString utf16 = lib + QStringLiteral("/Artist A/Album Two");
  const auto firstTitle = [&] {  // on the album's page
    for (const QByteArray& line : readFile(korean + QStringLiteral("/disk.html")).split('\n')) {
      if (line.startsWith("bg_name[0] = ")) return line.trimmed();
    }
    return QByteArray();
  };

  const Ran dry = orv({QStringLiteral("-n"), korean});
  EXPECT_TRUE(dry.out.contains(QStringLiteral("\n    文字コード: euc-kr（判定の差 ")))
      << dry.out.toStdString();
  EXPECT_FALSE(QFile::exists(korean + QStringLiteral("/disk.html")));

  const Ran decided = orv({QStringLiteral("--json"), korean, utf16});
  const QList<QJsonObject> albums = jsonLines(decided.out);
  ASSERT_EQ(albums.size(), 2) << decided.err.toStdString();
  EXPECT_EQ(albums[0]["text_encoding"].toString(), QStringLiteral("euc-kr"));
  EXPECT_GT(albums[0]["text_encoding_margin"].toDouble(), 0);
  EXPECT_TRUE(albums[1]["text_encoding"].isNull());
  EXPECT_TRUE(albums[1]["text_encoding_margin"].isNull());
  EXPECT_EQ(firstTitle(), QByteArray(R"(bg_name[0] = "\uB12C";)"));

  const Ran forced =
      orv({QStringLiteral("--encoding"), QStringLiteral("SJIS"), QStringLiteral("--json"), korean});
  ASSERT_EQ(jsonLines(forced.out).size(), 1) << forced.err.toStdString();
  EXPECT_EQ(jsonLines(forced.out)[0]["text_encoding"].toString(), QStringLiteral("shift_jis"));
  EXPECT_TRUE(jsonLines(forced.out)[0]["text_encoding_margin"].isNull());
  EXPECT_EQ(firstTitle(), "bg_name[0] = \"" + sjis(QStringLiteral("ｳﾚ")) + "\";");
  const Ran forcedDry = orv({QStringLiteral("-n"), QStringLiteral("--encoding=cp949"), korean});
  EXPECT_TRUE(forcedDry.out.contains(QStringLiteral("\n    文字コード: euc-kr（指定）\n")))
      << forcedDry.out.toStdString();

  const TreeSnapshot before = snapshotTree(korean);
  const Ran unknown = orv({QStringLiteral("--encoding"), QStringLiteral("koi8-r"), korean});
  EXPECT_EQ(unknown.exitCode, 2);
  EXPECT_EQ(unknown.err.section(u'\n', 0, 0),
            QStringLiteral("orv: --encoding には shift_jis・windows-1252・euc-kr・gbk・big5・"
                           "windows-1251・windows-1250・utf-8 のどれか（cp932 などの別名も可）を"
                           "指定してください: koi8-r"));
  EXPECT_EQ(snapshotTree(korean), before);
}

TEST_F(BatchTest, TheLibraryPageReplacesOnlyAPageOrvWrote) {
  const QString index = dir.path() + QStringLiteral("/index.html");
  ASSERT_EQ(
      orv({QStringLiteral("--index"), index, lib + QStringLiteral("/Artist A/Album Two")}).exitCode,
      0);
  const QByteArray first = readFile(index);
  EXPECT_TRUE(first.contains(R"("folder":"lib/Artist A/Album Two")"));

  // Written again, with more albums, over its own earlier page.
  const Ran again = orv({QStringLiteral("--index=") + index, QStringLiteral("-r"), lib});
  EXPECT_EQ(again.exitCode, 1);
  EXPECT_TRUE(again.err.endsWith(QStringLiteral("一覧ページ: %1\n").arg(index)))
      << again.err.toStdString();
  EXPECT_EQ(readFile(index).count(R"("folder":)"), 2);

  // Protected by its owner, Orv's own page is refused before any album is built.
  const QByteArray written = readFile(index);
  ASSERT_EQ(::chmod(QFile::encodeName(index).constData(), 0444), 0);
  const Ran refused = orv({QStringLiteral("--index"), index, lib});
  EXPECT_EQ(refused.exitCode, 2);
  EXPECT_TRUE(refused.err.startsWith(
      QStringLiteral("orv: ファイル %1 は読み取り専用のため書き込めません。\n").arg(index)))
      << refused.err.toStdString();
  EXPECT_EQ(readFile(index), written);
}

// Folder names that JSON must escape, or that a text template could take for its own
// placeholders: each line is one valid object that names its folder as it is, and the
// plain line shows it as it is, its control characters written out, on one line.
TEST_F(BatchTest, EveryFolderNameIsReportedAsItIs) {
  const QByteArray root = QFile::encodeName(dir.path()) + "/names/";
  const std::vector<std::pair<QByteArray, QString>> names = {
      {"x%1y", "x%1y"},
      {"100%3 Hits", "100%3 Hits"},
      {"say \"hi\"", "say \"hi\""},
      {"back\\slash %%", "back\\slash %%"},
      {"tab\tbell\x07 line\nend", "tab\tbell\u0007 line\nend"},
      {"bad\xff", "bad\uFFFD"},
  };
  ASSERT_EQ(::mkdir(root.constData(), 0755), 0);
  for (const auto& [bytes, name] : names) {
    ASSERT_EQ(::mkdir((root + bytes).constData(), 0755), 0) << bytes.constData();
    writeFileAt(root + bytes + "/a.mp3", track("Song", "Album"));
  }
  const QString folder = QFile::decodeName(root.chopped(1));

  const Ran run = orv({QStringLiteral("-r"), QStringLiteral("--json"), folder});

  QStringList expected, reported;
  for (const auto& [bytes, name] : names) expected << folder + u'/' + name;
  for (const QJsonObject& album : jsonLines(run.out)) {
    const QString shown = album["folder"].toString();
    reported << shown;
    if (album["status"].toString() == u"built") {
      EXPECT_EQ(album["page"].toString(), shown + QStringLiteral("/disk.html"));
      EXPECT_EQ(album["tracks"].toInt(), 1) << shown.toStdString();
    }
  }
  expected.sort();
  reported.sort();
  EXPECT_EQ(reported.join(u'|').toStdString(), expected.join(u'|').toStdString());
  // The plain output: one line per album, control characters written out.
  const QStringList lines = orv({QStringLiteral("-r"), folder}).out.split(u'\n');
  EXPECT_EQ(lines.size(), qsizetype(names.size()) + 1) << lines.join(u'|').toStdString();
  for (const QString& name :
       {QStringLiteral("100%3 Hits"), QStringLiteral(R"(tab\tbell\x07 line\nend)")}) {
    EXPECT_TRUE(lines.contains(QStringLiteral("最新      1曲   0:00:01  %1/%2").arg(folder, name)))
        << name.toStdString();
  }
}

}  // namespace
}  // namespace orv::test
