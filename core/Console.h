#pragma once

#include <QString>

namespace orv {

// How the program ends, as a shell's "$?" shows it: every album built (or the window
// closed), something failed (an album, the library page, the window's start), a mistake
// on the command line, or the batch stopped by a signal, as a shell reports a program the
// signal killed.
//
//   return kExitDone;  return exitSignalled(SIGINT);  // 130
inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;
constexpr int exitSignalled(int signal) { return 128 + signal; }

// Writes UTF-8 `text` to standard output or standard error, at once, so that lines of
// the batch's threads and its progress line never interleave within a write.
//
//   writeOut(programHelp());  writeError(summaryLine(tally, false, 1.5));
void writeOut(const QString& text);
void writeError(const QString& text);

// Writes the program's own message on standard error: "orv: ", `text` and a line feed.
//
//   reportError("ファイル /m/index.html は読み取り専用のため書き込めません。")
void reportError(const QString& text);

// Writes a mistake on the command line and where the help is found, and returns
// kExitUsage:
//
//   return usageError("知らないオプションです: -x", "orv --batch --help");
//   // orv: 知らないオプションです: -x
//   // 使い方は orv --batch --help で確かめてください。
int usageError(const QString& mistake, const QString& helpCommand);

}  // namespace orv
