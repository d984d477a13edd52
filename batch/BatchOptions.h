#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace orv::batch {

// The command line of the batch, everything after "--batch".
struct BatchOptions {
  QStringList folders;
  bool recursive = false;
  bool dryRun = false;
  bool json = false;
  int jobs = 0;       // albums built at once
  QString indexFile;  // empty: no library page
  bool help = false;
};

// Albums built at once unless -j says otherwise: reading a library from disk waits on
// the disk more than on the processor, so a few more jobs than cores pay (see
// bench/LibraryBench.cpp).
int defaultJobs();

// The options of `arguments` (those after "--batch"), or a usage error: a Japanese text
// that names what is wrong, for standard error.
//
//   parseBatchOptions({"-rn", "-j", "4", "Music"})   // recursive, dry run, 4 jobs
struct ParsedOptions {
  BatchOptions options;
  QString usageError;  // empty when the command line is good
};
ParsedOptions parseBatchOptions(const QStringList& arguments);

// The text of --help.
QString batchHelp();

}  // namespace orv::batch
