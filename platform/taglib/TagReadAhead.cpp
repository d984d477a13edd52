#include "platform/taglib/TagReadAhead.h"

#include "platform/posix/RegularFile.h"
#include "platform/taglib/TagLibTrackDetails.h"
#include "platform/taglib/TrackTexts.h"

#include <QFile>

#include <fcntl.h>
#include <pthread.h>
#include <sched.h>
#include <sys/stat.h>

#include <algorithm>

namespace orv::platform {
namespace {

// Tag reading reads a file's start (an ID3v2 tag it reads whole and the first audio
// frames after it) and its end (the trailing tags) one after the other; on a cold disk
// both reads are asked for at once, so that they overlap. Where a large tag (covers,
// mostly) puts the audio beyond that start, the first audio frames and the tag's last
// frame headers are asked for as soon as the tag's size is known; the covers themselves
// are never read, not even ahead.
constexpr off_t kAudioRead = 16 * 1024;
constexpr off_t kStartRead = kReadWholeTagUpTo + kAudioRead;
constexpr off_t kEndRead = 8 * 1024;
constexpr off_t kBeforeAudio = 4 * 1024;

constexpr int kWakeEvery = 8;

void adviseWillNeed(int fd, off_t begin, off_t end) {
  if (end > begin) ::posix_fadvise(fd, begin, end - begin, POSIX_FADV_WILLNEED);
}

void adviseStartAndEnd(int fd, off_t size) {
  adviseWillNeed(fd, 0, std::min(size, kStartRead));
  adviseWillNeed(fd, std::max(kStartRead, size - kEndRead), size);
}

void adviseAudioStart(int fd, off_t size, off_t audioBegin) {
  if (audioBegin + kAudioRead <= kStartRead) return;
  adviseWillNeed(fd, std::max(kStartRead, audioBegin - kBeforeAudio),
                 std::min(size, audioBegin + kAudioRead));
}

}  // namespace

ReadAheadResults::FileKey ReadAheadResults::keyOf(const struct stat& file) {
  return {file.st_dev, file.st_ino, file.st_size, file.st_mtim.tv_sec, file.st_mtim.tv_nsec};
}

std::optional<ReadAheadResults::FileKey> ReadAheadResults::keyOf(int fd) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) return std::nullopt;
  return keyOf(st);
}

std::optional<TrackDetails> ReadAheadResults::take(const struct stat& file) {
  std::unique_lock lock(mutex_);
  const auto entry = entries_.find(keyOf(file));
  if (entry == entries_.end()) return std::nullopt;
  finished_.wait(lock, [&] { return entry->second.done; });
  std::optional<TrackDetails> details;
  if (entry->second.details) details.emplace(std::move(*entry->second.details));
  entries_.erase(entry);
  return details;
}

int ReadAheadResults::ready() {
  const std::lock_guard lock(mutex_);
  return static_cast<int>(std::count_if(entries_.begin(), entries_.end(),
                                        [](const auto& entry) { return entry.second.done; }));
}

bool ReadAheadResults::begin(const FileKey& key) {
  const std::lock_guard lock(mutex_);
  return entries_.try_emplace(key).second;
}

void ReadAheadResults::finish(const FileKey& key, std::optional<TrackDetails> details) {
  {
    const std::lock_guard lock(mutex_);
    const auto entry = entries_.find(key);
    if (entry == entries_.end()) return;
    entry->second.done = true;
    entry->second.details = std::move(details);
  }
  finished_.notify_all();
}

void ReadAheadResults::forget(const std::vector<FileKey>& keys) {
  const std::lock_guard lock(mutex_);
  for (const FileKey& key : keys) {
    const auto entry = entries_.find(key);
    if (entry != entries_.end() && entry->second.done) entries_.erase(entry);
  }
}

TagReadAhead::TagReadAhead(std::vector<QString> paths, std::shared_ptr<ReadAheadResults> results,
                           int threads, int window)
    : paths_(std::move(paths)), results_(std::move(results)), window_(window) {
  // An album's files share one folder, opened once, here on the caller's thread.
  QByteArray lastFolder;
  int lastFolderFd = AT_FDCWD;
  places_.reserve(paths_.size());
  for (const QString& path : paths_) {
    const QByteArray encoded = QFile::encodeName(path);
    const qsizetype slash = encoded.lastIndexOf('/');
    const QByteArray folder = encoded.first(slash + 1);
    if (slash > 0 && folder != lastFolder) {
      lastFolder = folder;
      FileDescriptor fd(::open(folder.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC));
      lastFolderFd = fd.valid() ? fd.get() : AT_FDCWD;
      if (fd.valid()) folders_.push_back(std::move(fd));
    }
    if (slash > 0 && lastFolderFd != AT_FDCWD) {
      places_.push_back({lastFolderFd, encoded.sliced(slash + 1)});
    } else {
      places_.push_back({AT_FDCWD, encoded});
    }
  }
  begun_.reserve(paths_.size());
  const int wanted = std::min(threads, static_cast<int>(paths_.size()) - 1);
  for (int i = 0; i < wanted; ++i) threads_.emplace_back([this] { work(); });
}

TagReadAhead::~TagReadAhead() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  for (std::thread& thread : threads_) thread.join();
  results_->forget(begun_);
}

void TagReadAhead::reached(int index) {
  // Tag reading lets one more file into the window at each step; the threads that wait
  // for room are woken every few steps only, as each wake costs the build a moment.
  reached_.store(index);
  if (index % kWakeEvery == 0) {
    const std::lock_guard lock(mutex_);
    changed_.notify_all();
  }
}

void TagReadAhead::work() {
  // A thread woken for more files must not take the processor from the build, whose
  // renames and reads it is there to serve: batch threads get their fair share, but
  // don't preempt on waking.
  const sched_param normal{};
  ::pthread_setschedparam(::pthread_self(), SCHED_BATCH, &normal);
  // Whatever goes wrong here only means that tag reading reads the file itself, in its
  // turn, and meets the trouble there: this reading answers nothing to anyone.
  while (const auto index = nextFile()) {
    try {
      readAhead(*index);
    } catch (...) {
    }
  }
}

// The next file to read ahead, once it lies within the window; nullopt when stopping or
// when every file is taken.
std::optional<int> TagReadAhead::nextFile() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [&] {
      return stopping_ || next_ >= static_cast<int>(paths_.size()) || next_ <= reached_ + window_;
    });
    if (stopping_ || next_ >= static_cast<int>(paths_.size())) return std::nullopt;
    const int index = next_++;
    // Tag reading has come this far already and reads the file itself.
    if (index > reached_) return index;
  }
}

void TagReadAhead::readAhead(int index) {
  const QString& path = paths_[static_cast<std::size_t>(index)];
  const Place& place = places_[static_cast<std::size_t>(index)];
  struct stat opened {};
  FileDescriptor fd = openRegularFile(place.folder, place.name, path, &opened);
  if (!fd.valid()) return;
  const auto key = ReadAheadResults::keyOf(opened);
  if (!results_->begin(key)) return;
  adviseStartAndEnd(fd.get(), key.size);
  // From here on the file's own reading may be waiting for these details: they are
  // finished, read or not, whatever happens.
  std::optional<TrackDetails> details;
  try {
    const TrackFile file(fd.get(), key.size);
    const TagLayout layout = findTagLayout(file);
    adviseAudioStart(fd.get(), key.size, layout.audioBegin);
    details = readTrackDetails(file, place.name, layout);
    // Changed while it was read: what was read may be neither the old nor the new file.
    if (ReadAheadResults::keyOf(fd.get()) != key) details.reset();
  } catch (...) {
    details.reset();
  }
  results_->finish(key, std::move(details));
  const std::lock_guard lock(mutex_);
  begun_.push_back(key);  // room was made for every file at the start
}

}  // namespace orv::platform
