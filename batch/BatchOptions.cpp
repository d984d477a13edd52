#include "batch/BatchOptions.h"

#include <algorithm>
#include <thread>

namespace orv::batch {
namespace {

constexpr int kJobsPerCore = 4;
constexpr int kMostDefaultJobs = 16;
constexpr int kMostJobs = 256;

// Reads the arguments one by one; the first error stops it.
class Parser {
 public:
  explicit Parser(const QStringList& arguments) : args_(arguments) { o_.jobs = defaultJobs(); }

  ParsedOptions parse() {
    bool onlyFolders = false;
    for (; i_ < args_.size() && error_.isEmpty(); ++i_) {
      const QString& a = args_[i_];
      if (onlyFolders || !a.startsWith(u'-') || a == u"-") {
        o_.folders << a;
      } else if (a == u"--") {
        onlyFolders = true;
      } else if (a.startsWith(QStringLiteral("--"))) {
        longOption(a);
      } else {
        shortOptions(a);
      }
    }
    if (error_.isEmpty() && !o_.help) {
      if (o_.folders.isEmpty()) {
        error_ = QStringLiteral("アルバムのフォルダーを指定してください。");
      } else if (o_.folders.contains(QString())) {
        error_ = QStringLiteral("空のフォルダー名は使えません。");
      }
    }
    return {o_, error_};
  }

 private:
  // "--name" or "--name=value".
  void longOption(const QString& a) {
    const qsizetype eq = a.indexOf(u'=');
    const QString name = eq < 0 ? a : a.left(eq);
    const std::optional<QString> inlineValue =
        eq < 0 ? std::nullopt : std::optional<QString>(a.mid(eq + 1));
    const auto flag = [&](bool& option) {
      if (inlineValue) return unknown(a);
      option = true;
    };
    if (name == u"--recursive") {
      flag(o_.recursive);
    } else if (name == u"--dry-run") {
      flag(o_.dryRun);
    } else if (name == u"--json") {
      flag(o_.json);
    } else if (name == u"--help") {
      flag(o_.help);
    } else if (name == u"--jobs") {
      jobs(name, inlineValue ? inlineValue : next());
    } else if (name == u"--index") {
      const std::optional<QString> file = inlineValue ? inlineValue : next();
      if (!file || file->isEmpty()) {
        error_ = QStringLiteral("--index には一覧ページのファイル名を指定してください。");
      } else {
        o_.indexFile = *file;
      }
    } else {
      unknown(a);
    }
  }

  // "-r", "-n", "-h", "-j N", "-jN", joined as in "-rn" or "-rj4".
  void shortOptions(const QString& a) {
    for (qsizetype k = 1; k < a.size(); ++k) {
      const QChar c = a[k];
      if (c == u'r') {
        o_.recursive = true;
      } else if (c == u'n') {
        o_.dryRun = true;
      } else if (c == u'h') {
        o_.help = true;
      } else if (c == u'j') {
        const QString rest = a.mid(k + 1);
        jobs(QStringLiteral("-j"), rest.isEmpty() ? next() : rest);
        return;
      } else {
        return unknown(QStringLiteral("-") + c);
      }
    }
  }

  void jobs(const QString& option, const std::optional<QString>& text) {
    bool ok = false;
    const int jobs = text ? text->toInt(&ok) : 0;
    if (!text) {
      error_ = QStringLiteral("%1 には同時に作るアルバムの数を指定してください。").arg(option);
    } else if (!ok || jobs < 1) {
      error_ = QStringLiteral("%1 には 1 以上の整数を指定してください: %2").arg(option, *text);
    } else {
      o_.jobs = std::min(jobs, kMostJobs);
    }
  }

  std::optional<QString> next() {
    if (i_ + 1 >= args_.size()) return std::nullopt;
    return args_[++i_];
  }

  void unknown(const QString& option) {
    error_ = QStringLiteral("知らないオプションです: %1").arg(option);
  }

  const QStringList& args_;
  qsizetype i_ = 0;
  BatchOptions o_;
  QString error_;
};

}  // namespace

int defaultJobs() {
  const int cores = static_cast<int>(std::thread::hardware_concurrency());
  return std::min(std::max(1, cores) * kJobsPerCore, kMostDefaultJobs);
}

ParsedOptions parseBatchOptions(const QStringList& arguments) { return Parser(arguments).parse(); }

QString batchHelp() {
  return QStringLiteral(
             "使い方: orv --batch [-r] [-n] [-j N] [--json] [--index FILE] FOLDER...\n"
             "\n"
             "指定したフォルダーをそれぞれアルバムとして、ウィンドウのボタンを押したときと同じよう"
             "に\n"
             "ページを作ります。mp3ファイルの名前の空白を「_」に変え、タグを読み、disk.html "
             "を書き、\n"
             "jacket.jpg がなければコピーします。画面（X や Wayland）は要りません。\n"
             "ウィンドウの Orv や別の orv --batch と同時に動かすこともできます。同じアルバムは\n"
             "一度に 1 つしか作らず、ほかが作成中のアルバムはその終わりを待ってから作ります。\n"
             "\n"
             "  -r, --recursive    FOLDER とその下のフォルダーのうち、mp3ファイルのあるものを\n"
             "                     すべてアルバムにします。隠しフォルダーと、フォルダーへの\n"
             "                     シンボリックリンクはたどりません。\n"
             "  -n, --dry-run      何も変えずに、アルバムごとに名前の変更と書き込むファイルを\n"
             "                     表示します。\n"
             "  -j, --jobs N       同時に作るアルバムの数（既定: %1）。\n"
             "      --json         アルバムごとに JSON を 1 行ずつ出力します。項目は folder、\n"
             "                     status（built・failed・planned）、tracks、renamed、page、\n"
             "                     cover_copied、error_number、error です。\n"
             "      --index FILE   作成したアルバムの一覧ページ（UTF-8）を FILE に書きます。\n"
             "                     上書きするのは、以前に Orv が書いた一覧ページだけです。\n"
             "  -h, --help         この説明を表示します。\n"
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
             "2 コマンドラインの誤り、130 Ctrl-C で中断した、143 SIGTERM で中断した。\n")
      .arg(defaultJobs());
}

}  // namespace orv::batch
