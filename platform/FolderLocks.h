#pragma once

#include <QString>

#include <functional>
#include <memory>

namespace orv::platform {

// A folder's lock, held until this object is destroyed or the process ends, however it
// ends.
class FolderLock {
 public:
  virtual ~FolderLock() = default;
};

// One build of a folder at a time: an exclusive lock on the folder itself, taken by
// every build of it, in this process or any other, of this user or another. It creates
// no file in the folder.
class FolderLocks {
 public:
  virtual ~FolderLocks() = default;

  // The lock on `folder` (ending in "/"). While another holds it, waits: `keepWaiting()`
  // is asked at once and then about every 50 ms until the lock is free, and its false
  // gives up the wait (nullptr). Where the folder's file system can't lock, or the folder
  // can't be opened (the build reports that itself), a lock that holds nothing: the build
  // goes on without one.
  //
  //   auto lock = locks.lock("/music/album/", [&] { return !stopRequested; });
  //   if (!lock) return;  // given up; nothing done
  virtual std::unique_ptr<FolderLock> lock(const QString& folder,
                                           const std::function<bool()>& keepWaiting) = 0;
};

}  // namespace orv::platform
