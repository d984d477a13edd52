#pragma once

#include <QString>

#include <chrono>
#include <optional>
#include <vector>

namespace orv::platform {

// What changed in the folders followed since the last wait.
struct FolderChanges {
  // Folders (ending in "/") in which a file or folder appeared, changed, was renamed or
  // went, each once; a folder that appeared is among them, and so is every folder below
  // it, and so is a folder that went, with its path as it was.
  std::vector<QString> folders;
  // Folders to look through again with everything below them, as changes there may have
  // gone unseen: every folder followed after the system's queue of changes ran over, and
  // once a minute the folders beyond the system's limit on followed folders.
  std::vector<QString> everythingBelow;
  // How many folders the system's limit left unfollowed, whenever that number grew; 0
  // otherwise. Those folders are looked through again every minute (everythingBelow).
  int unfollowed = 0;

  bool empty() const { return folders.empty() && everythingBelow.empty() && unfollowed == 0; }
};

// Follows folder trees for changes, as they happen, without using the processor while
// nothing changes. Hidden folders and links to folders are not followed, as
// FileSystem::listFolders leaves them out; folders that appear in a tree are followed from
// then on, and those that go are no longer. One thread uses it.
//
//   watch.follow("/music/");
//   for (;;) {
//     const FolderChanges changes = watch.wait(std::nullopt);
//     if (interruption.requested() != 0) break;
//     for (const QString& folder : changes.folders) lookAgain(folder);
//   }
class FolderWatch {
 public:
  using Clock = std::chrono::steady_clock;

  virtual ~FolderWatch() = default;

  // Follows `folder` (absolute, ending in "/") and every folder below it. Changes from
  // here on are told by wait(). Raises a RuntimeError when nothing can be followed at all.
  virtual void follow(const QString& folder) = 0;

  // Waits until something changes, until `until` (nullopt: for as long as it takes) or
  // until the run is interrupted (Interruption), whichever comes first, and returns what
  // changed: nothing at the deadline, and whatever came with the interruption.
  virtual FolderChanges wait(std::optional<Clock::time_point> until) = 0;
};

}  // namespace orv::platform
