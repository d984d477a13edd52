#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <vector>

namespace orv {

// The program's name and version as `orv --version` prints them: "orv 1.0".
QString versionLine();

// One option of a command line: its names ("r" for "-r", "recursive" for "--recursive"),
// the name of its value if it takes one, what that value is (for the message when it is
// missing), and its description for --help, one text per line.
struct CommandLineOption {
  QStringList names;
  QString valueName;     // empty: a flag
  QString valueMeaning;  // "同時に作るアルバムの数"
  QStringList help;
};

// A command line read by QCommandLineParser, with the program's own Japanese messages and
// help, so that both stay the program's whatever Qt's language. Options may come anywhere
// among the other arguments, short ones joined ("-rn", "-rj4"), long ones with "=value";
// "--" ends the options.
//
//   CommandLine line({{{"r", "recursive"}, {}, {}, {"下のフォルダーも"}}});
//   if (const QString error = line.parse({"-r", "Music"}); !error.isEmpty()) fail(error);
//   line.isSet("r") == true;  line.positional() == QStringList{"Music"}
class CommandLine {
 public:
  explicit CommandLine(std::vector<CommandLineOption> options);

  // Reads `arguments` (those after the program's name). Returns an empty text, or the
  // first mistake in Japanese: "知らないオプションです: -x",
  // "-j には同時に作るアルバムの数を指定してください。", "--json には値を付けられません。".
  QString parse(const QStringList& arguments);

  bool isSet(const QString& name) const { return parser_.isSet(name); }
  // Every value given to the option, in order, each with the name it was given under.
  struct Given {
    QString typedName;  // "-j", "--jobs"
    QString value;
  };
  std::vector<Given> given(const QString& name) const;
  QStringList positional() const { return parser_.positionalArguments(); }

  // The options' part of --help, a line each, descriptions from column 21:
  //   "  -r, --recursive    FOLDER とその下の…\n"
  //   "      --json         アルバムごとに…\n"
  QString optionHelp() const;

 private:
  std::vector<CommandLineOption> options_;
  QCommandLineParser parser_;
};

}  // namespace orv
