#pragma once

#include "core/CommandLine.h"

#include <QString>
#include <QStringList>

#include <span>

namespace orv {

// What the program's command line asks for, decided before anything of the window exists:
// the window (no arguments), the batch ("--batch" and its own arguments), the help, the
// version, or nothing but a usage error. Only "--help", "--version" and "--batch" come
// before the batch's arguments.
//
//   readProgramCommand({"--batch", "-r", "Music"})   // kBatch, batchArguments {"-r", "Music"}
//   readProgramCommand({"--bogus"})                  // kUsageError, "知らないオプションです:
//   --bogus"
struct ProgramCommand {
  enum Kind { kWindow, kBatch, kHelp, kVersion, kUsageError };
  Kind kind = kWindow;
  QStringList batchArguments;  // kBatch: those after "--batch"
  QString error;               // kUsageError: what is wrong, in Japanese
};
ProgramCommand readProgramCommand(const QStringList& arguments);

// The text of `orv --help`: the window's usage, then the batch's.
QString programHelp();

// The program's own options, those before the batch's, in the order --help lists them:
// what the completion offers before "--batch".
//
//   programOptionTable()[0].longName == "batch"
std::span<const CommandLineOption> programOptionTable();

}  // namespace orv
