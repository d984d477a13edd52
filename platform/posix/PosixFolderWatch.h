#pragma once

#include "platform/FileSystem.h"
#include "platform/FolderWatch.h"
#include "platform/posix/FileDescriptor.h"

#include <map>
#include <set>
#include <unordered_map>

struct inotify_event;

namespace orv::platform {

// FolderWatch on Linux's inotify: one watch per folder, woken by the folder's changes or
// by `wakeDescriptor` (PosixInterruption's) in the same poll, so that a wait takes no
// processor time at all. A folder whose watch the system refuses for its limit
// (fs.inotify.max_user_watches, or `limits.watches` where it is lower) is left unfollowed,
// with the folders below it, and is looked through again every `limits.rescan`, when its
// watch is tried again. Folders are listed as `fileSystem` lists them.
//
//   PosixInterruption interruption;
//   PosixFolderWatch watch(fileSystem, interruption.wakeDescriptor());
class PosixFolderWatch final : public FolderWatch {
 public:
  struct Limits {
    int watches = 0;  // 0: the system's own
    std::chrono::milliseconds rescan = std::chrono::minutes(1);
  };
  PosixFolderWatch(FileSystem& fileSystem, int wakeDescriptor, Limits limits);
  PosixFolderWatch(FileSystem& fileSystem, int wakeDescriptor)
      : PosixFolderWatch(fileSystem, wakeDescriptor, Limits{}) {}

  void follow(const QString& folder) override;
  FolderChanges wait(std::optional<Clock::time_point> until) override;

 private:
  // Follows `folder` and the folders below it, noting each in `changed`.
  void followTree(const QString& folder, std::set<QString>* changed);
  // Follows no longer `folder` and the folders below it.
  void forgetTree(const QString& folder);
  void take(const inotify_event& event, std::set<QString>& changed,
            std::set<QString>& everythingBelow);
  // Reads what the kernel queued; false when nothing was there.
  bool readEvents(std::set<QString>& changed, std::set<QString>& everythingBelow);
  void rescanUnfollowed(std::set<QString>& changed, std::set<QString>& everythingBelow);

  FileSystem& fileSystem_;
  const int wake_;
  const Limits limits_;
  FileDescriptor inotify_;
  std::unordered_map<int, QString> folderOf_;  // by watch descriptor
  std::map<QString, int> watchOf_;             // by folder, so a tree is a range
  std::set<QString> roots_;
  std::set<QString> unfollowed_;  // each with the folders below it
  std::size_t toldUnfollowed_ = 0;
  Clock::time_point nextRescan_{};
};

}  // namespace orv::platform
