#include "batch/BatchOptions.h"

#include <algorithm>
#include <array>
#include <thread>
#include <tuple>
#include <variant>

namespace orv::batch {
namespace {

constexpr int kJobsPerCore = 4;
constexpr int kMostDefaultJobs = 16;
constexpr int kMostJobs = 256;

// Reads an option's value into the options, or returns the mistake.
using ValueReader = QString (*)(BatchOptions&, const CommandLine::Given&);

// Where an option goes in BatchOptions: a flag's member; a text's member, where an empty
// text counts as none given; or a reader that checks the value.
using OptionTarget = std::variant<bool BatchOptions::*, QString BatchOptions::*, ValueReader>;

struct BatchOption : CommandLineOption {
  OptionTarget target;
};

// The value of -j: a whole number from 1, at most kMostJobs; or the mistake.
QString readJobs(BatchOptions& options, const CommandLine::Given& given) {
  bool ok = false;
  const int number = given.value.toInt(&ok);
  if (!ok || number < 1) {
    return QStringLiteral("%1 には 1 以上の整数を指定してください: %2")
        .arg(given.typedName, given.value);
  }
  options.jobs = std::min(number, kMostJobs);
  return {};
}

// The value of --encoding: an encoding's name or alias (text::encodingNamed); or the
// mistake, with the names to choose from.
QString readEncoding(BatchOptions& options, const CommandLine::Given& given) {
  options.textEncoding = text::encodingNamed(given.value);
  if (options.textEncoding) return {};
  return QStringLiteral("%1 には %2 のどれか（cp932 などの別名も可）を指定してください: %3")
      .arg(given.typedName, text::encodingNames(u"・"), given.value);
}

// The options of the batch, in the order --help lists them. A new option is a row here
// and its member in BatchOptions; the bash completion and the manual page must then name
// it too (tests/resources holds them to this table).
constexpr std::array kBatchOptions{
    BatchOption{{.shortName = 'r',
                 .longName = "recursive",
                 .help = "FOLDER とその下のフォルダーのうち、mp3ファイルのあるものを\n"
                         "すべてアルバムにします。隠しフォルダーと、フォルダーへの\n"
                         "シンボリックリンクはたどりません。"},
                &BatchOptions::recursive},
    BatchOption{{.shortName = 'n',
                 .longName = "dry-run",
                 .help = "何も変えずに、アルバムごとに 8 ビットのタグを読む文字コードと、\n"
                         "名前の変更と書き込むファイルを表示します。"},
                &BatchOptions::dryRun},
    BatchOption{{.shortName = 'c',
                 .longName = "covers",
                 .help = "jacket.jpg のないアルバムに、そのアルバムの画像から jacket.jpg を\n"
                         "作ります。フォルダーの画像ファイル（cover・folder・front・album、\n"
                         "AlbumArt… の .jpg・.jpeg・.png）、なければ曲のタグの画像（どの曲\n"
                         "でも表紙を優先）を使い、JPEG 以外は JPEG に変換します。どれも\n"
                         "なければ、いつもの jacket.jpg をコピーします。Orv の既定の\n"
                         "jacket.jpg はアルバムの画像で置き換えます。元の画像と、自分で\n"
                         "置いた jacket.jpg はそのまま残ります。"},
                &BatchOptions::covers},
    BatchOption{{.shortName = 'f',
                 .longName = "force",
                 .help = "前回の作成から変わっていないアルバムも、すべて作り直します。"},
                &BatchOptions::force},
    BatchOption{{.shortName = 'w',
                 .longName = "watch",
                 .help = "作り終えても終了せず、フォルダーを見張り続けます。アルバムが\n"
                         "増えたり変わったりすると、2 秒間変化がなくなってから作り直し、\n"
                         "一覧ページも直します。-r と一緒に指定します（-n とは使えません）。\n"
                         "Ctrl-C か SIGTERM で終わります。"},
                &BatchOptions::watch},
    BatchOption{{.shortName = 'j',
                 .longName = "jobs",
                 .valueName = "N",
                 .valueMeaning = "同時に作るアルバムの数",
                 .help = "同時に作るアルバムの数（既定: %1）。",
                 .helpDefault = [] { return QString::number(defaultJobs()); }},
                &readJobs},
    BatchOption{{.longName = "json",
                 .help = "アルバムごとに JSON を 1 行ずつ出力します。項目は folder、\n"
                         "status（built・current・failed・planned）、title と artist（タグにない\n"
                         "ときや、タグを読む前に失敗したときは null）、tracks、time（ページ\n"
                         "に表示する合計の再生時間。失敗したときは null）、renamed、page、\n"
                         "cover_copied、cover_source（kept・placeholder・file:名前・\n"
                         "tags:名前、既定の表紙を置き換えたときは replaced:file:名前・\n"
                         "replaced:tags:名前）、text_encoding（8ビットのタグの文字コード）、\n"
                         "text_encoding_margin（その判定の差、ビット）、error_number、\n"
                         "error です。"},
                &BatchOptions::json},
    BatchOption{{.longName = "index",
                 .valueName = "FILE",
                 .valueMeaning = "一覧ページのファイル名",
                 .help = "ライブラリのアルバムの一覧ページ（UTF-8）を FILE に書きます。\n"
                         "以前のアルバムも残し、作成したアルバムを加えます。disk.html や\n"
                         "フォルダーがなくなったアルバムだけを一覧から外します。\n"
                         "表紙の縮小版は FILE の横のフォルダー（index.html なら\n"
                         "index-covers）に置きます。上書きするのは、以前に Orv が書いた\n"
                         "一覧ページだけです。"},
                &BatchOptions::indexFile},
    BatchOption{{.longName = "encoding",
                 .valueName = "NAME",
                 .valueMeaning = "文字コードの名前",
                 .help = "文字コードの記録がない 8 ビットのタグの文字（ID3v1、ISO-8859-1 と\n"
                         "された ID3v2 のフレーム、APE）を、アルバムごとの判定ではなく、\n"
                         "すべて NAME で読みます。NAME は shift_jis・windows-1252・euc-kr・\n"
                         "gbk・big5・windows-1251・windows-1250・utf-8 か、その別名（cp932・\n"
                         "sjis・cp1252・latin1・cp949・cp936・gb2312・cp950・cp1251・cp1250\n"
                         "など。大文字と小文字は区別しません）。UTF-8 として正しい文字と、\n"
                         "NAME では読めない文字は、それぞれ単独で判定します。"},
                &readEncoding},
    BatchOption{kHelpOption, &BatchOptions::help},
    BatchOption{kVersionOption, &BatchOptions::version},
};

constexpr bool flagsTakeNoValue() {
  return std::all_of(kBatchOptions.begin(), kBatchOptions.end(), [](const BatchOption& option) {
    return option.valueName.empty() == std::holds_alternative<bool BatchOptions::*>(option.target);
  });
}
static_assert(isSoundTable(kBatchOptions), "an option of the batch lacks a name, or shares one");
static_assert(flagsTakeNoValue(),
              "a flag of the batch takes a value, or an option with one has none");

// The table without where the values go, for the parser, the usage line and --help.
constexpr auto kBatchCommandLine = std::apply(
    [](const auto&... option) {
      return std::array<CommandLineOption, sizeof...(option)>{option...};
    },
    kBatchOptions);

// Puts what the command line gives for `option` into `options`; returns the first mistake.
QString take(const BatchOption& option, const CommandLine& line, BatchOptions& options) {
  if (const auto* flag = std::get_if<bool BatchOptions::*>(&option.target)) {
    options.*(*flag) = line.isSet(option);
    return {};
  }
  for (const CommandLine::Given& given : line.given(option)) {
    if (const auto* text = std::get_if<QString BatchOptions::*>(&option.target)) {
      if (given.value.isEmpty()) return CommandLine::valueMissing(given.typedName, option);
      options.*(*text) = given.value;
    } else if (QString error = std::get<ValueReader>(option.target)(options, given);
               !error.isEmpty()) {
      return error;
    }
  }
  return {};
}

}  // namespace

int defaultJobs() {
  const int cores = static_cast<int>(std::thread::hardware_concurrency());
  return std::min(std::max(1, cores) * kJobsPerCore, kMostDefaultJobs);
}

std::span<const CommandLineOption> batchOptionTable() { return kBatchCommandLine; }

ParsedOptions parseBatchOptions(const QStringList& arguments) {
  CommandLine line(kBatchCommandLine);
  if (const QString error = line.parse(arguments); !error.isEmpty()) return {{}, error};
  BatchOptions options;
  options.jobs = defaultJobs();
  for (const BatchOption& option : kBatchOptions) {
    if (const QString error = take(option, line, options); !error.isEmpty()) return {{}, error};
  }
  options.folders = line.positional();
  if (options.help || options.version) return {options, {}};
  if (options.folders.isEmpty()) {
    return {{}, QStringLiteral("アルバムのフォルダーを指定してください。")};
  }
  if (options.folders.contains(QString())) {
    return {{}, QStringLiteral("空のフォルダー名は使えません。")};
  }
  if (options.watch && (!options.recursive || options.dryRun)) {
    return {{}, QStringLiteral("--watch は -r と一緒に、-n なしで指定してください。")};
  }
  return {options, {}};
}

QString batchUsage() {
  return QStringLiteral("orv --batch ") + CommandLine(kBatchCommandLine).usage() +
         QStringLiteral(" FOLDER...");
}
QString batchHelp() {
  return QStringLiteral("使い方: ") + batchUsage() +
         QStringLiteral(
             "\n"
             "\n"
             "指定したフォルダーをそれぞれアルバムとして、ウィンドウのボタンを押したときと同じよう"
             "に\n"
             "ページを作ります。mp3ファイルの名前の空白を「_」に変え、タグを読み、disk.html "
             "を書き、\n"
             "jacket.jpg がなければコピーします（-c では、アルバム自身の画像から作ります）。\n"
             "前回の作成から曲・ひな形・Orv の版・ページを左右するオプション（-c）のどれも\n"
             "変わっていないアルバムは、読みも書きもせず「最新」とします（-f ですべて作り直し）。\n"
             "その記録は ~/.cache/orv/（$XDG_CACHE_HOME/orv/）にあり、消すと次はすべて作ります。\n"
             "中身の同じ disk.html と一覧ページは書き直しません。\n"
             "画面（X や Wayland）は要りません。\n"
             "ウィンドウの Orv や別の orv --batch と同時に動かすこともできます。同じアルバムは\n"
             "一度に 1 つしか作らず、ほかが作成中のアルバムはその終わりを待ってから作ります。\n"
             "\n") +
         CommandLine(kBatchCommandLine).optionHelp() +
         QStringLiteral(
             "\n"
             "FOLDER に mp3ファイルを指定すると、ウィンドウと同じく、そのファイルのフォルダーを\n"
             "アルバムとして作成します。\n"
             "\n"
             "アルバムごとに 1 行、指定した順（-r では見つけた順）に、結果（作成・最新・失敗・\n"
             "予定）、曲数、合計の再生時間、フォルダーを表示します。名前の中の制御文字は\n"
             "\\n などと書き表します。失敗したアルバムには、ウィンドウが表示するのと同じ\n"
             "メッセージが付きます。ほかのアルバムはそのまま作成を続けます。端末では、\n"
             "標準エラーに進み具合（ほかの Orv の作成を待っているアルバムも）を表示します。\n"
             "最後に標準エラーに集計（スキップしたフォルダーは、どの道筋で見つけても\n"
             "1 回）と経過時間を表示します。\n"
             "\n"
             "Ctrl-C で中断すると、作成中のアルバムを仕上げて集計を表示し、一覧ページは書かずに\n"
             "終わります。もう一度 Ctrl-C を押すと、すぐに終わります。\n"
             "\n"
             "終了コード: 0 すべてのアルバムを作成した（か最新だった）、1 作成できなかった\n"
             "アルバムがある、2 コマンドラインの誤り、130 Ctrl-C で中断した、143 SIGTERM で\n"
             "中断した。\n");
}

}  // namespace orv::batch
