#pragma once

#include "platform/FolderLocks.h"

namespace orv::platform {

// Folder locks by flock(2) on a descriptor of the folder itself, opened for reading: no
// file is made, the lock holds across processes and users who can read the folder, and it
// goes with the process, however that ends. A file system that can't lock (ENOLCK,
// EOPNOTSUPP, EINVAL, EBADF …) gives a lock that holds nothing.
class PosixFolderLocks : public FolderLocks {
 public:
  std::unique_ptr<FolderLock> lock(const QString& folder,
                                   const std::function<bool()>& keepWaiting) override;
};

}  // namespace orv::platform
