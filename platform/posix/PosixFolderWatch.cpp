#include "platform/posix/PosixFolderWatch.h"

#include "core/RuntimeError.h"

#include <QFile>

#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>

namespace orv::platform {
namespace {

// Everything that may change an album: names coming and going, contents written, times
// and modes set (a retag that sets the time back), the folder itself going. Reads are
// not among them, so a build's own reading wakes no one.
constexpr uint32_t kChanges = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_MODIFY |
                              IN_CLOSE_WRITE | IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF;

bool isBelow(const QString& path, const QString& folder) { return path.startsWith(folder); }

}  // namespace

PosixFolderWatch::PosixFolderWatch(FileSystem& fileSystem, int wakeDescriptor, Limits limits)
    : fileSystem_(fileSystem), wake_(wakeDescriptor), limits_(limits) {}

void PosixFolderWatch::follow(const QString& folder) {
  if (!inotify_.valid()) {
    inotify_ = FileDescriptor(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
    if (!inotify_.valid()) {
      throw errnoError(errno, QStringLiteral("フォルダーの変化を見張れません（inotify）"));
    }
  }
  roots_.insert(folder);
  followTree(folder, nullptr);
}

void PosixFolderWatch::followTree(const QString& folder, std::set<QString>* changed) {
  if (changed) changed->insert(folder);
  const bool capped =
      limits_.watches > 0 && int(watchOf_.size()) >= limits_.watches && !watchOf_.contains(folder);
  // A folder named to follow may be a link; the walk below it never follows one.
  const uint32_t links = roots_.contains(folder) ? 0 : IN_DONT_FOLLOW;
  const int wd = capped ? -1
                        : ::inotify_add_watch(inotify_.get(), QFile::encodeName(folder).constData(),
                                              kChanges | IN_ONLYDIR | IN_EXCL_UNLINK | links);
  if (wd < 0) {
    // Beyond the limit: looked through every minute instead. Anything else (gone, or
    // not to be read) has nothing to follow.
    if (capped || errno == ENOSPC) unfollowed_.insert(folder);
    return;
  }
  if (const auto old = watchOf_.find(folder); old != watchOf_.end() && old->second != wd) {
    folderOf_.erase(old->second);
  }
  folderOf_[wd] = folder;
  watchOf_[folder] = wd;
  // Listed once the watch is in place, so that a folder made meanwhile is seen either way.
  std::vector<QString> below;
  try {
    below = fileSystem_.listFolders(folder);
  } catch (const RuntimeError&) {
    return;  // unreadable: nothing below to follow
  }
  for (const QString& name : below) followTree(folder + name + u'/', changed);
}

void PosixFolderWatch::forgetTree(const QString& folder) {
  for (auto it = watchOf_.lower_bound(folder);
       it != watchOf_.end() && isBelow(it->first, folder);) {
    ::inotify_rm_watch(inotify_.get(), it->second);
    folderOf_.erase(it->second);
    it = watchOf_.erase(it);
  }
  for (auto it = unfollowed_.lower_bound(folder);
       it != unfollowed_.end() && isBelow(*it, folder);) {
    it = unfollowed_.erase(it);
  }
}

void PosixFolderWatch::take(const inotify_event& event, std::set<QString>& changed,
                            std::set<QString>& everythingBelow) {
  if (event.mask & IN_Q_OVERFLOW) {
    // Changes were lost: everything is looked through, and what appeared is followed.
    for (const QString& root : roots_) {
      everythingBelow.insert(root);
      followTree(root, nullptr);
    }
    return;
  }
  const auto found = folderOf_.find(event.wd);
  if (found == folderOf_.end()) return;  // a watch given up already
  const QString folder = found->second;
  if (event.mask & (IN_DELETE_SELF | IN_IGNORED)) {
    changed.insert(folder);
    if (event.mask & IN_IGNORED) {
      folderOf_.erase(event.wd);
      if (const auto it = watchOf_.find(folder); it != watchOf_.end() && it->second == event.wd) {
        watchOf_.erase(it);
      }
    }
    return;
  }
  changed.insert(folder);
  if (event.len == 0 || !(event.mask & IN_ISDIR)) return;
  const QString name = QFile::decodeName(event.name);
  if (name.startsWith(u'.')) return;  // hidden: not followed
  const QString subfolder = folder + name + u'/';
  if (event.mask & (IN_CREATE | IN_MOVED_TO)) {
    followTree(subfolder, &changed);
  } else if (event.mask & (IN_DELETE | IN_MOVED_FROM)) {
    changed.insert(subfolder);
    forgetTree(subfolder);
  }
}

bool PosixFolderWatch::readEvents(std::set<QString>& changed, std::set<QString>& everythingBelow) {
  alignas(inotify_event) char buffer[64 * 1024];
  bool any = false;
  for (;;) {
    const ssize_t got = ::read(inotify_.get(), buffer, sizeof buffer);
    if (got <= 0) {
      if (got < 0 && errno == EINTR) continue;
      return any;  // EAGAIN: all read
    }
    any = true;
    for (ssize_t at = 0; at < got;) {
      const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
      take(*event, changed, everythingBelow);
      at += ssize_t(sizeof(inotify_event) + event->len);
    }
  }
}

void PosixFolderWatch::rescanUnfollowed(std::set<QString>& changed,
                                        std::set<QString>& everythingBelow) {
  const std::set<QString> again = std::exchange(unfollowed_, {});
  for (const QString& folder : again) {
    everythingBelow.insert(folder);
    followTree(folder, &changed);  // the limit may have been raised, or watches freed
  }
}

FolderChanges PosixFolderWatch::wait(std::optional<Clock::time_point> until) {
  std::set<QString> changed, everythingBelow;
  // A limit met since the last wait is told at once.
  bool any = unfollowed_.size() > toldUnfollowed_;
  for (bool done = false; !done;) {
    if (!unfollowed_.empty() && nextRescan_ == Clock::time_point{}) {
      nextRescan_ = Clock::now() + limits_.rescan;
    }
    std::optional<Clock::time_point> wake = until;
    if (!unfollowed_.empty()) wake = std::min(wake.value_or(nextRescan_), nextRescan_);
    int timeout = any ? 0 : -1;
    if (wake && !any) {
      const auto left = std::chrono::ceil<std::chrono::milliseconds>(*wake - Clock::now());
      timeout = int(std::clamp<qint64>(left.count(), 0, INT_MAX));
    }
    pollfd fds[] = {{inotify_.get(), POLLIN, 0}, {wake_, POLLIN, 0}};
    const int ready = ::poll(fds, wake_ >= 0 ? 2 : 1, timeout);
    if (ready < 0 && errno != EINTR) {
      throw errnoError(errno, QStringLiteral("フォルダーの変化を待てません"));
    }
    if (ready > 0 && (fds[0].revents & POLLIN)) any = readEvents(changed, everythingBelow) || any;
    if (!unfollowed_.empty() && Clock::now() >= nextRescan_) {
      rescanUnfollowed(changed, everythingBelow);
      nextRescan_ = Clock::now() + limits_.rescan;
      any = true;
    }
    const bool interrupted = ready > 0 && wake_ >= 0 && (fds[1].revents & POLLIN);
    done = any || interrupted || (until && Clock::now() >= *until);
  }
  FolderChanges changes{{changed.begin(), changed.end()},
                        {everythingBelow.begin(), everythingBelow.end()}};
  if (unfollowed_.size() > toldUnfollowed_) changes.unfollowed = int(unfollowed_.size());
  toldUnfollowed_ = unfollowed_.size();
  return changes;
}

}  // namespace orv::platform
