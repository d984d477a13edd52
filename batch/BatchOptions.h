#pragma once

#include "core/CommandLine.h"
#include "text/TextEncoding.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <span>

namespace orv::batch {

// The command line of the batch, everything after "--batch". Each option is a row of
// one table (BatchOptions.cpp) that says where its value goes here; the parse, the usage
// line and --help are made from it, and tests/resources checks the bash completion and the
// manual page against it.
struct BatchOptions {
  QStringList folders;
  bool recursive = false;
  bool dryRun = false;
  bool covers = false;  // the albums' own pictures as their covers
  bool force = false;   // build albums that are current too
  bool watch = false;   // after the run, keep the albums current as they change
  bool json = false;
  int jobs = 0;       // albums built at once
  QString indexFile;  // empty: no library page
  // The encoding every 8-bit tag text is read in; none: each album decides its own.
  std::optional<text::TextEncoding> textEncoding;
  bool help = false;
  bool version = false;
};

// Albums built at once unless -j says otherwise: four for each processor, at most 16.
// A build waits on the disk more than on the processor (reading tags from a cold disk,
// and syncing every page and cover), so more jobs than cores pay. On 2 cores
// (bench/LibraryBench.cpp) a cold library took 1.5 s with 1 job, 0.72 s with 4, 0.66 s
// with 8 and 0.62 s with 16; a warm one on disk 3.8 s, 0.65 s, 0.55 s and 0.56 s.
int defaultJobs();

// The options of `arguments` (those after "--batch"), or a usage error: a Japanese text
// that names what is wrong, for standard error. Folders are needed unless --help or
// --version is asked for.
//
//   parseBatchOptions({"-rn", "-j", "4", "Music"})   // recursive, dry run, 4 jobs
//   parseBatchOptions({"Music", "-j4", "--index=Music/index.html"})
struct ParsedOptions {
  BatchOptions options;
  QString usageError;  // empty when the command line is good
};
ParsedOptions parseBatchOptions(const QStringList& arguments);

// The batch's line of the usage: "orv --batch [-r] … FOLDER...".
QString batchUsage();

// The text of --help.
QString batchHelp();

// The batch's options, in the order --help lists them, without where their values go:
// what the completion and the manual page must name.
//
//   batchOptionTable()[5].longName == "jobs";  batchOptionTable()[5].valueName == "N"
std::span<const CommandLineOption> batchOptionTable();

}  // namespace orv::batch
