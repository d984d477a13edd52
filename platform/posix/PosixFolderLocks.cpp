#include "platform/posix/PosixFolderLocks.h"

#include "platform/posix/FileDescriptor.h"
#include "platform/posix/RetryAfterSignal.h"

#include <QFile>

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>
#include <chrono>
#include <thread>

namespace orv::platform {
namespace {

// flock(2) blocks without a way to give up, so a taken lock is asked for again at this
// pace: a wait ends at most this long after the other build.
constexpr std::chrono::milliseconds kPollInterval{50};

class HeldLock : public FolderLock {
 public:
  explicit HeldLock(FileDescriptor folder) : folder_(std::move(folder)) {}

 private:
  FileDescriptor folder_;  // closing it releases the lock
};

class NoLock : public FolderLock {};

}  // namespace

std::unique_ptr<FolderLock> PosixFolderLocks::lock(const QString& folder,
                                                   const std::function<bool()>& keepWaiting) {
  FileDescriptor fd = openRetrying(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
  if (!fd.valid()) return std::make_unique<NoLock>();
  for (;;) {
    if (retryAfterSignal(-1, ::flock, fd.get(), LOCK_EX | LOCK_NB) == 0) {
      return std::make_unique<HeldLock>(std::move(fd));
    }
    if (errno != EWOULDBLOCK) return std::make_unique<NoLock>();
    if (!keepWaiting()) return nullptr;
    std::this_thread::sleep_for(kPollInterval);
  }
}

}  // namespace orv::platform
