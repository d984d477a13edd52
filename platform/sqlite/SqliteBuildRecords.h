#pragma once

#include "platform/BuildRecords.h"

#include <memory>
#include <mutex>

struct sqlite3_stmt;

namespace orv::platform {

class SqliteConnection;

// The record of builds as one SQLite database file, in write-ahead mode: runs read while
// another writes, and writers wait for each other up to 10 s, longer counting as a
// failure (the record locked for too long). A store is one small transaction that isn't
// synced at once: a machine that stops may forget the last albums, which are then built
// again, but it never leaves the record damaged. The database carries the version of its
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
  QString location() const override { return file_; }

 private:
  Found openToWrite();
  Found openToRead();
  Found layOut();
  void close();

  const QString file_;
  std::mutex mutex_;                              // one statement at a time on the one connection
  std::unique_ptr<SqliteConnection> connection_;  // none: nothing recorded, or closed
  sqlite3_stmt* find_ = nullptr;                  // the connection's, prepared on first use
  sqlite3_stmt* store_ = nullptr;
};

}  // namespace orv::platform
