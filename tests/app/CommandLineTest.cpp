// The program's command line through the real executable, with no display: what it
// prints first and how it ends, and that nothing of the window is left behind.

#include "tests/support/Program.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace orv::test {
namespace {

TEST(CommandLine, EachCommandLineEndsAsItShouldWithoutADisplay) {
  const QString version = QStringLiteral("orv " ORV_VERSION);
  const QString noDisplay = QStringLiteral(
      "orv: 画面（X や Wayland）に接続できないため、ウィンドウを開けません。"
      "画面なしでアルバムを作るには orv --batch を使ってください（orv --batch --help）。");
  const struct {
    QStringList arguments;
    std::map<QString, QString> environment;
    int exitCode;
    QString firstLine;  // of standard output when it ends with 0, else of standard error
  } cases[] = {
      {{"--version"}, {}, 0, version},
      {{"--help"}, {}, 0, "使い方: orv"},
      {{"-h"}, {}, 0, "使い方: orv"},
      {{"--batch", "--version"}, {}, 0, version},
      {{"--batch", "-h"},
       {},
       0,
       "使い方: orv --batch [-r] [-n] [-c] [-f] [-w] [-j N] [--json] [--index FILE] [--encoding "
       "NAME] FOLDER..."},
      {{}, {}, 1, noDisplay},
      {{}, {{"WAYLAND_DISPLAY", "no-such-compositor"}, {"DISPLAY", ":98"}}, 1, noDisplay},
      {{}, {{"XDG_SESSION_TYPE", "wayland"}}, 1, noDisplay},
      {{"--bogus"}, {}, 2, "orv: 知らないオプションです: --bogus"},
      {{"-x", "--batch", "album"}, {}, 2, "orv: 知らないオプションです: -x"},
      {{"album"}, {}, 2, "orv: ウィンドウの orv は引数を取りません: album"},
      {{"--version=2"}, {}, 2, "orv: --version には値を付けられません。"},
      {{"--batch"}, {}, 2, "orv: アルバムのフォルダーを指定してください。"},
      {{"--batch", "--json=yes", "album"}, {}, 2, "orv: --json には値を付けられません。"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments.join(u' ').toStdString());
    QTemporaryDir runtime;
    QProcessEnvironment env;
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    for (const auto& [name, value] : c.environment) env.insert(name, value);

    const Ran ran =
        runWithoutDisplay(QStringLiteral(ORV_EXECUTABLE), c.arguments, QDir::tempPath(), env);

    EXPECT_EQ(ran.exitCode, c.exitCode) << ran.err.toStdString();
    const QString& shown = c.exitCode == 0 ? ran.out : ran.err;
    EXPECT_EQ(shown.section(u'\n', 0, 0), c.firstLine) << shown.toStdString();
    EXPECT_EQ(
        QDir(runtime.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
        QStringList());
  }
}

}  // namespace
}  // namespace orv::test
