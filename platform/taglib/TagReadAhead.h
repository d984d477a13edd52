#pragma once

#include "platform/ReadAhead.h"
#include "platform/TrackDetails.h"
#include "platform/posix/FileDescriptor.h"

#include <QByteArray>
#include <QString>

#include <sys/stat.h>
#include <sys/types.h>

#include <atomic>
#include <compare>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace orv::platform {

// Details read ahead, each for the one file it was read from: the same file (device and
// inode) with the same size and modification time, whatever name it has by then. The
// file's own reading takes them, once, instead of reading the file again; while they are
// still being read, it waits for them.
//
//   struct stat st; ::fstatat(folderFd, "01_a.mp3", &st, 0);
//   if (auto details = results.take(st)) …   // read ahead: no read needed
class ReadAheadResults {
 public:
  // The details read ahead for the file `file` describes (as stat gives it); nullopt
  // when there are none, when reading them failed, or when the file has changed since.
  std::optional<TrackDetails> take(const struct stat& file);

  // How many files' details were read ahead and wait to be taken; for tests and
  // inspection.
  int ready();

 private:
  friend class TagReadAhead;

  struct FileKey {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    time_t modifiedSeconds = 0;
    long modifiedNanoseconds = 0;
    auto operator<=>(const FileKey&) const = default;
  };
  static FileKey keyOf(const struct stat& file);
  static std::optional<FileKey> keyOf(int fd);

  struct Entry {
    bool done = false;
    std::optional<TrackDetails> details;
  };

  // A file being read ahead; false when it already is.
  bool begin(const FileKey& key);
  void finish(const FileKey& key, std::optional<TrackDetails> details);
  // Drops what no reading took.
  void forget(const std::vector<FileKey>& keys);

  std::mutex mutex_;
  std::condition_variable finished_;
  std::map<FileKey, Entry> entries_;
};

// Reads the tags of the files after the one tag reading has come to, on a few threads of
// its own, at most `window` files ahead, into `results`. Destroying it stops the reading
// and waits for the files being read; what no reading took is dropped.
//
//   TagReadAhead ahead(paths, results, /*threads=*/4, /*window=*/32);
class TagReadAhead final : public TrackReadAhead {
 public:
  TagReadAhead(std::vector<QString> paths, std::shared_ptr<ReadAheadResults> results, int threads,
               int window);
  ~TagReadAhead() override;

  void reached(int index) override;

 private:
  void work();
  std::optional<int> nextFile();
  void readAhead(int index);

  const std::vector<QString> paths_;
  // Each path's folder, held open, and its name in it: the threads open a file by its
  // name alone instead of each walking the whole path again (by the whole path where
  // the folder can't be opened).
  struct Place {
    int folder;
    QByteArray name;
  };
  std::vector<FileDescriptor> folders_;
  std::vector<Place> places_;
  const std::shared_ptr<ReadAheadResults> results_;
  const int window_;
  std::mutex mutex_;
  std::condition_variable changed_;
  bool stopping_ = false;
  std::atomic<int> reached_ = 0;
  int next_ = 1;  // the first file is read at once, by tag reading itself
  std::vector<ReadAheadResults::FileKey> begun_;
  std::vector<std::thread> threads_;
};

}  // namespace orv::platform
