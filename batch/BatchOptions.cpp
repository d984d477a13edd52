#include "batch/BatchOptions.h"

#include "core/CommandLine.h"

#include <algorithm>
#include <thread>

namespace orv::batch {
namespace {

constexpr int kJobsPerCore = 4;
constexpr int kMostDefaultJobs = 16;
constexpr int kMostJobs = 256;

// The options of the batch, in the order --help lists them.
CommandLine batchCommandLine() {
  return CommandLine({
      {{"r", "recursive"},
       {},
       {},
       {QStringLiteral("FOLDER とその下のフォルダーのうち、mp3ファイルのあるものを"),
        QStringLiteral("すべてアルバムにします。隠しフォルダーと、フォルダーへの"),
        QStringLiteral("シンボリックリンクはたどりません。")}},
      {{"n", "dry-run"},
       {},
       {},
       {QStringLiteral("何も変えずに、アルバムごとに名前の変更と書き込むファイルを"),
        QStringLiteral("表示します。")}},
      {{"c", "covers"},
       {},
       {},
       {QStringLiteral("jacket.jpg のないアルバムに、そのアルバムの画像から jacket.jpg を"),
        QStringLiteral("作ります。フォルダーの画像ファイル（cover・folder・front・album、"),
        QStringLiteral("AlbumArt… の .jpg・.jpeg・.png）、なければ曲のタグの画像（表紙を"),
        QStringLiteral("優先）を使い、JPEG 以外は JPEG に変換します。どれもなければ、"),
        QStringLiteral("いつもの jacket.jpg をコピーします。元の画像はそのまま残ります。")}},
      {{"j", "jobs"},
       QStringLiteral("N"),
       QStringLiteral("同時に作るアルバムの数"),
       {QStringLiteral("同時に作るアルバムの数（既定: %1）。").arg(defaultJobs())}},
      {{"json"},
       {},
       {},
       {QStringLiteral("アルバムごとに JSON を 1 行ずつ出力します。項目は folder、"),
        QStringLiteral("status（built・failed・planned）、tracks、renamed、page、"),
        QStringLiteral("cover_copied、cover_source（kept・placeholder・file:名前・"),
        QStringLiteral("tags:名前）、error_number、error です。")}},
      {{"index"},
       QStringLiteral("FILE"),
       QStringLiteral("一覧ページのファイル名"),
       {QStringLiteral("作成したアルバムの一覧ページ（UTF-8）を FILE に書きます。"),
        QStringLiteral("上書きするのは、以前に Orv が書いた一覧ページだけです。")}},
      {{"h", "help"}, {}, {}, {QStringLiteral("この説明を表示します。")}},
      {{"version"}, {}, {}, {QStringLiteral("バージョンを表示します。")}},
  });
}

// The value of -j: a whole number from 1, at most kMostJobs; or the mistake.
QString readJobs(const CommandLine::Given& given, int& jobs) {
  bool ok = false;
  const int number = given.value.toInt(&ok);
  if (!ok || number < 1) {
    return QStringLiteral("%1 には 1 以上の整数を指定してください: %2")
        .arg(given.typedName, given.value);
  }
  jobs = std::min(number, kMostJobs);
  return {};
}

}  // namespace

int defaultJobs() {
  const int cores = static_cast<int>(std::thread::hardware_concurrency());
  return std::min(std::max(1, cores) * kJobsPerCore, kMostDefaultJobs);
}

ParsedOptions parseBatchOptions(const QStringList& arguments) {
  CommandLine line = batchCommandLine();
  ParsedOptions parsed;
  BatchOptions& o = parsed.options;
  parsed.usageError = line.parse(arguments);
  if (!parsed.usageError.isEmpty()) return parsed;

  o.recursive = line.isSet(QStringLiteral("recursive"));
  o.dryRun = line.isSet(QStringLiteral("dry-run"));
  o.covers = line.isSet(QStringLiteral("covers"));
  o.json = line.isSet(QStringLiteral("json"));
  o.help = line.isSet(QStringLiteral("help"));
  o.version = line.isSet(QStringLiteral("version"));
  o.folders = line.positional();
  o.jobs = defaultJobs();
  for (const CommandLine::Given& jobs : line.given(QStringLiteral("jobs"))) {
    if (const QString error = readJobs(jobs, o.jobs); !error.isEmpty()) return {{}, error};
  }
  for (const CommandLine::Given& index : line.given(QStringLiteral("index"))) {
    if (index.value.isEmpty()) {
      return {{}, QStringLiteral("--index には一覧ページのファイル名を指定してください。")};
    }
    o.indexFile = index.value;
  }
  if (o.help || o.version) return parsed;
  if (o.folders.isEmpty()) {
    parsed.usageError = QStringLiteral("アルバムのフォルダーを指定してください。");
  } else if (o.folders.contains(QString())) {
    parsed.usageError = QStringLiteral("空のフォルダー名は使えません。");
  }
  return parsed;
}

QString batchUsage() {
  return QStringLiteral("orv --batch [-r] [-n] [-c] [-j N] [--json] [--index FILE] FOLDER...");
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
             "画面（X や Wayland）は要りません。\n"
             "ウィンドウの Orv や別の orv --batch と同時に動かすこともできます。同じアルバムは\n"
             "一度に 1 つしか作らず、ほかが作成中のアルバムはその終わりを待ってから作ります。\n"
             "\n") +
         batchCommandLine().optionHelp() +
         QStringLiteral(
             "\n"
             "アルバムごとに 1 行、指定した順（-r では見つけた順）に、結果（作成・失敗・予定）、\n"
             "曲数、合計の再生時間、フォルダーを表示します。失敗したアルバムには、ウィンドウが\n"
             "表示するのと同じメッセージが付きます。ほかのアルバムはそのまま作成を続けます。\n"
             "端末では、標準エラーに進み具合を表示します。最後に標準エラーに集計を表示します。\n"
             "\n"
             "Ctrl-C で中断すると、作成中のアルバムを仕上げて集計を表示し、一覧ページは書かずに\n"
             "終わります。もう一度 Ctrl-C を押すと、すぐに終わります。\n"
             "\n"
             "終了コード: 0 すべてのアルバムを作成した、1 作成できなかったアルバムがある、\n"
             "2 コマンドラインの誤り、130 Ctrl-C で中断した、143 SIGTERM で中断した。\n");
}

}  // namespace orv::batch
