#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <iterator>
#include <span>
#include <string_view>
#include <vector>

namespace orv {

// The program's name and version as `orv --version` prints them: "orv 1.0".
QString versionLine();

// One option of a command line, a row of its table: its names ('r' for "-r", "recursive"
// for "--recursive"), the name of its value if it takes one, what that value is (for the
// message when it is missing), and its description for --help in UTF-8, lines parted by
// "\n", where "%1" stands for helpDefault() when a row has one. Options marked
// `inUsageLine` are listed in the usage line as well; --help and --version are not.
struct CommandLineOption {
  char shortName = 0;                  // 0: none
  std::string_view longName = {};      // empty: none
  std::string_view valueName = {};     // empty: a flag
  std::string_view valueMeaning = {};  // "同時に作るアルバムの数"
  std::string_view help = {};
  QString (*helpDefault)() = nullptr;
  bool inUsageLine = true;

  // The names as the user types them: {"-j", "--jobs"}, {"--json"}.
  QStringList typedNames() const;
};

inline constexpr CommandLineOption kHelpOption{
    .shortName = 'h', .longName = "help", .help = "この説明を表示します。", .inUsageLine = false};
inline constexpr CommandLineOption kVersionOption{
    .longName = "version", .help = "バージョンを表示します。", .inUsageLine = false};

// Whether a parser can read a table of options (CommandLineOption, or rows derived from
// it): every option has a name, none is given twice, a long name is longer than one
// letter, and an option that takes a value has both the value's name and its meaning.
//
//   static_assert(isSoundTable(kOptions), "…");
template <typename Rows>
constexpr bool isSoundTable(const Rows& rows) {
  for (auto a = std::begin(rows); a != std::end(rows); ++a) {
    if ((a->shortName == 0 && a->longName.empty()) || a->longName.size() == 1 ||
        a->valueName.empty() != a->valueMeaning.empty()) {
      return false;
    }
    for (auto b = std::begin(rows); b != a; ++b) {
      if ((a->shortName != 0 && a->shortName == b->shortName) ||
          (!a->longName.empty() && a->longName == b->longName)) {
        return false;
      }
    }
  }
  return true;
}

// A command line read by QCommandLineParser, with the program's own Japanese messages and
// help, so that both stay the program's whatever Qt's language. Options may come anywhere
// among the other arguments, short ones joined ("-rn", "-rj4"), long ones with "=value";
// "--" ends the options.
//
//   constexpr CommandLineOption kOptions[] = {
//       {.shortName = 'r', .longName = "recursive", .help = "下のフォルダーも"}, kHelpOption};
//   CommandLine line(kOptions);
//   if (const QString error = line.parse({"-r", "Music"}); !error.isEmpty()) fail(error);
//   line.isSet(kOptions[0]) == true;  line.positional() == QStringList{"Music"}
//   line.usage() == "[-r]"
class CommandLine {
 public:
  explicit CommandLine(std::span<const CommandLineOption> options);

  // Reads `arguments` (those after the program's name). Returns an empty text, or the
  // first mistake in Japanese: "知らないオプションです: -x",
  // "-j には同時に作るアルバムの数を指定してください。", "--json には値を付けられません。".
  QString parse(const QStringList& arguments);

  bool isSet(const CommandLineOption& option) const;
  // Every value given to the option, in order, each with the name it was given under.
  struct Given {
    QString typedName;  // "-j", "--jobs"
    QString value;
  };
  std::vector<Given> given(const CommandLineOption& option) const;
  QStringList positional() const { return parser_.positionalArguments(); }

  // The mistake of an option given without its value (or with one that counts as none):
  // "-j には同時に作るアルバムの数を指定してください。".
  static QString valueMissing(const QString& typedName, const CommandLineOption& option);

  // The options' part of the usage line: "[-r] [-j N] [--index FILE]".
  QString usage() const;

  // The options' part of --help, a line each, descriptions from column 21:
  //   "  -r, --recursive    FOLDER とその下の…\n"
  //   "      --json         アルバムごとに…\n"
  QString optionHelp() const;

 private:
  std::vector<CommandLineOption> options_;
  QCommandLineParser parser_;
};

}  // namespace orv
