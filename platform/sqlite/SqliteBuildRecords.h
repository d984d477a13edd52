#pragma once

#include "platform/BuildRecords.h"

#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

struct sqlite3_stmt;

namespace orv::platform {

class SqliteConnection;

// The record of builds as one SQLite database file, in write-ahead mode: runs read while
// another writes, and writers wait for each other up to 10 s, longer counting as a
// failure (the record locked for too long). Stores are held back and written together,
// up to 256 or a second's worth in one transaction, which isn't synced at once: a machine
// that stops may forget the last albums, which are then built again, but it never leaves
// the record damaged. Finds share one read transaction for up to a second, so that the
// record is locked once for many albums; records other runs store meanwhile are seen
// once it ends. The database carries the version of its
// layout (PRAGMA user_version); one of another layout, or one that fails SQLite's quick
// check, is started afresh (Access::kReadWrite) or read as empty (Access::kRead).
//
//   SqliteBuildRecords records(SqliteBuildRecords::inUserCache());
//   records.open(BuildRecords::Access::kReadWrite);   // creates ~/.cache/orv/builds.sqlite
class SqliteBuildRecords final : public BuildRecords {
 public:
  // The record in `file` (absolute), whose folder is made (0700) when the record is
  // opened to be written.
  explicit SqliteBuildRecords(QString file);
  ~SqliteBuildRecords() override;
  SqliteBuildRecords(const SqliteBuildRecords&) = delete;
  SqliteBuildRecords& operator=(const SqliteBuildRecords&) = delete;

  // builds.sqlite in the folder orv of the user's cache: $XDG_CACHE_HOME when it is an
  // absolute path, else ~/.cache.
  //
  //   inUserCache()   // "/home/u/.cache/orv/builds.sqlite"
  static QString inUserCache();

  Found open(Access access) override;
  std::optional<BuildRecord> find(const QString& folder) override;
  void store(const QString& folder, const BuildRecord& record) override;
  void flush() override;
  QString location() const override { return file_; }

 private:
  Found openToWrite();
  Found openToRead();
  Found layOut();
  void close();
  void writeHeldBack();
  // Ends the read transaction the finds share, if one is open.
  void endReading();

  const QString file_;
  std::mutex mutex_;                              // one statement at a time on the one connection
  std::unique_ptr<SqliteConnection> connection_;  // none: nothing recorded, or closed
  sqlite3_stmt* find_ = nullptr;                  // the connection's, prepared on first use
  sqlite3_stmt* store_ = nullptr;
  std::map<QByteArray, BuildRecord> heldBack_;  // by folder, not written yet
  std::chrono::steady_clock::time_point firstHeldBack_{};
  std::optional<std::chrono::steady_clock::time_point> readingSince_;  // the finds' transaction
};

}  // namespace orv::platform
