#pragma once

#include "platform/DetailSource.h"
#include "platform/FileSystem.h"

#include <QString>
#include <QStringList>

namespace orv::batch {

// Runs `orv --batch` with `arguments` (those after "--batch"): finds the albums, builds
// them, several at once, each as the window's build would, writes a line for each on
// standard output in the order named and found, progress and a summary on standard
// error, and the library page if asked. Returns the exit status: 0 when every album was
// built, 1 when any failed (or the library page could not be written), 2 for a command
// line in error. --help and --version print and return 0. The file system and the
// detail source are used from several threads.
//
//   return RunBatch({"-r", "Music"}, fileSystem, detailSources, programFolder);
int RunBatch(const QStringList& arguments, platform::FileSystem& fileSystem,
             platform::DetailSourceFactory& detailSources, const QString& programFolder);

}  // namespace orv::batch
