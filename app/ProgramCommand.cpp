#include "app/ProgramCommand.h"

#include "batch/BatchOptions.h"

#include <array>

namespace orv {
namespace {

constexpr CommandLineOption kBatchOption{
    .longName = "batch",
    .help =
        "ウィンドウを開かずに、指定したフォルダーをアルバムとして作ります。\n"
        "画面は要りません。--batch の後に書くことは下のとおりです。"};

// The options of the program, in the order --help lists them.
constexpr std::array kProgramOptions{kBatchOption, kHelpOption, kVersionOption};
static_assert(isSoundTable(kProgramOptions),
              "an option of the program lacks a name, or shares one");

ProgramCommand command(ProgramCommand::Kind kind, QStringList batchArguments = {},
                       QString error = {}) {
  return {kind, std::move(batchArguments), std::move(error)};
}

}  // namespace

ProgramCommand readProgramCommand(const QStringList& arguments) {
  const qsizetype batch = arguments.indexOf(kBatchOption.typedNames().first());
  CommandLine line(kProgramOptions);
  if (const QString error = line.parse(batch < 0 ? arguments : arguments.first(batch));
      !error.isEmpty()) {
    return command(ProgramCommand::kUsageError, {}, error);
  }
  if (line.isSet(kHelpOption)) return command(ProgramCommand::kHelp);
  if (line.isSet(kVersionOption)) return command(ProgramCommand::kVersion);
  if (!line.positional().isEmpty()) {
    return command(
        ProgramCommand::kUsageError, {},
        QStringLiteral("ウィンドウの orv は引数を取りません: ") + line.positional().first());
  }
  if (batch >= 0) return command(ProgramCommand::kBatch, arguments.mid(batch + 1));
  return command(ProgramCommand::kWindow);
}

QString programHelp() {
  return QStringLiteral(
             "使い方: orv\n"
             "        ") +
         batch::batchUsage() +
         QStringLiteral(
             "\n"
             "        orv --help | --version\n"
             "\n"
             "orv だけで、アルバムのページを作るウィンドウを開きます。ボタンを押してアルバムの\n"
             "mp3ファイルを 1 つ選ぶと、そのフォルダーをアルバムとして、mp3ファイルの名前の空白を\n"
             "「_」に変え、タグを読み、ページ disk.html を書きます。ウィンドウには画面（X や\n"
             "Wayland）が要ります。画面のないところ（ssh やコンソール）では orv --batch を\n"
             "使ってください。同時に開けるウィンドウは 1 つだけです。\n"
             "\n") +
         CommandLine(kProgramOptions).optionHelp() +
         QStringLiteral(
             "\n"
             "終了コード: 0 ウィンドウを閉じた、1 エラーを表示して終わった・画面に接続できない、\n"
             "2 コマンドラインの誤り。\n"
             "\n") +
         batch::batchHelp();
}

std::span<const CommandLineOption> programOptionTable() { return kProgramOptions; }

}  // namespace orv
