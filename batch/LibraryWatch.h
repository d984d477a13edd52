#pragma once

#include "batch/AlbumBuild.h"
#include "batch/AlbumFinder.h"
#include "batch/BatchOptions.h"
#include "core/NameOrder.h"
#include "platform/FileSystem.h"
#include "platform/FolderWatch.h"
#include "platform/Interruption.h"

#include <QString>

#include <chrono>
#include <functional>
#include <map>
#include <set>
#include <vector>

namespace orv::batch {

// How long an album's folder must have been quiet before the watch looks at it again, so
// that a copy under way is never built half-way.
inline constexpr std::chrono::seconds kQuietTime{2};

// What the watch does with albums, given by the run (RunBatch), as its own steps do it.
struct WatchSteps {
  // Builds the albums, each unless it is current, several at once; their outcomes in the
  // same order. Albums not started (the run was interrupted) are kNotStarted.
  std::function<std::vector<AlbumOutcome>(const std::vector<AlbumFolder>&)> build;
  // Writes the library page of these albums, if the run has one, saying nothing unless
  // it fails.
  std::function<void(const std::vector<AlbumOutcome>&)> writeIndex;
};

// `orv --batch -r --watch`: the library kept current after the run, until Ctrl-C or
// SIGTERM. The folders named are followed from before the run's first pass, so that no
// change during it goes unseen. After it, each folder where something changed is looked
// at again once it has been quiet for kQuietTime: an album that changed is built again
// (one line, as in a run), a new one too, and one that went (or holds no MP3 file any
// more) is no album any more; an album that is current (the echo of the watch's own
// writes) is left alone, without a line. The library page then lists the albums as they
// are now, in the order a run finds them, and is written when it changed.
//
//   LibraryWatch watch(options, folderWatch, fileSystem, interruption);  // before the run
//   … the run …
//   return watch.keepCurrent(report.outcomes(), steps);   // 130 after Ctrl-C
class LibraryWatch {
 public:
  // Raises a RuntimeError when the folders can't be followed at all.
  LibraryWatch(const BatchOptions& options, platform::FolderWatch& watch,
               platform::FileSystem& fileSystem, const platform::Interruption& interruption);

  // Keeps the albums current, starting from what the first pass made of them; returns
  // the exit status, 128 plus the signal that ended the watch.
  int keepCurrent(const std::vector<AlbumOutcome>& firstPass, const WatchSteps& steps);

 private:
  using Clock = platform::FolderWatch::Clock;
  // Where an album stands in the order a run finds it: the folder named, then each
  // folder's name in the listing's order, a folder before the folders in it.
  struct Position {
    std::size_t root = 0;
    std::vector<OrderedName> parts;
    bool operator<(const Position& other) const;
  };
  struct Known {
    Position position;
    AlbumOutcome outcome;
  };

  Position positionOf(const QString& folder) const;
  void noteChanges(const platform::FolderChanges& changes);
  // Looks at the folders whose time has come; true when the library page may differ.
  bool lookAgain(const WatchSteps& steps);
  void collectAlbums(const QString& folder, std::vector<AlbumFolder>& albums);
  bool holdsTracks(const QString& folder);
  bool exists(const QString& folder);
  // Forgets the albums at and below `folder` but those `stillThere`; true when any went.
  bool forget(const QString& folder, const std::set<QString>& stillThere);
  std::vector<AlbumOutcome> libraryInOrder() const;

  const BatchOptions& options_;
  platform::FolderWatch& watch_;
  platform::FileSystem& fileSystem_;
  const platform::Interruption& interruption_;
  std::vector<QString> roots_;
  std::map<QString, Known> known_;                // by folder: the albums on the library page
  std::map<QString, Clock::time_point> quietAt_;  // folders waiting to be looked at
  std::set<QString> everythingBelow_;             // of those, the ones to walk through
};

}  // namespace orv::batch
