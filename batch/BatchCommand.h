#pragma once

#include "batch/AlbumBuild.h"
#include "platform/BuildRecords.h"
#include "platform/FolderWatch.h"

#include <QString>
#include <QStringList>

namespace orv::batch {

// What keeps a library current: the record of builds, by which albums unchanged since
// their last build are left alone, and the folder watch of --watch.
struct LibraryServices {
  platform::BuildRecords& records;
  platform::FolderWatch& watch;
};

// Runs `orv --batch` with `arguments` (those after "--batch"): finds the albums, builds
// them, several at once, each as the window's build would, writes a line for each on
// standard output in the order named and found, progress and a summary on standard
// error, and the library page if asked. Returns the exit status: 0 when every album was
// built, 1 when any failed (or the library page could not be written), 2 for a command
// line in error. --help and --version print and return 0. The services are used from
// several threads.
//
// Once interrupted (services.interruption), no album starts any more; those under way
// are finished and printed, the summary counts those not started, the library page is
// left as it was, and the status is 128 plus the signal's number (130 after Ctrl-C).
// An album current by `library.records` is left alone (CurrentAlbums.h); with --watch
// the run then keeps the library current until it is interrupted (LibraryWatch.h).
//
//   return RunBatch({"-r", "Music"}, {fileSystem, trackDetails, locks, …}, {records, watch});
int RunBatch(const QStringList& arguments, const BuildServices& services,
             const LibraryServices& library);

}  // namespace orv::batch
