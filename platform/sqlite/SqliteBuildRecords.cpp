#include "platform/sqlite/SqliteBuildRecords.h"

#include "platform/sqlite/SqliteConnection.h"

#include <QFile>

#include <sqlite3.h>
#include <sys/stat.h>

#include <cerrno>
#include <utility>

namespace orv::platform {
namespace {

// The layout of the record this version keeps, as PRAGMA user_version: a record of
// another layout is no record for it.
constexpr int kLayout = 1;
// A run waits this long for another run's write; longer, and the record is put aside.
constexpr int kBusyMilliseconds = 10'000;
// Stores written together: at most so many, held back at most so long.
constexpr std::size_t kMostHeldBack = 256;
constexpr std::chrono::seconds kLongestHeldBack{1};
// Finds share a read transaction at most so long.
constexpr std::chrono::seconds kLongestReading{1};

constexpr char kCreateTable[] =
    "CREATE TABLE albums(folder BLOB PRIMARY KEY, state BLOB NOT NULL, summary BLOB NOT NULL)"
    " WITHOUT ROWID;"
    "PRAGMA user_version = 1;";
static_assert(kLayout == 1, "kCreateTable sets the layout's number");

QString folderOf(const QString& file) { return file.left(file.lastIndexOf(u'/')); }

// Makes `folder` and those above it, for this user alone.
void makeFolder(const QString& folder) {
  const QByteArray path = QFile::encodeName(folder);
  for (qsizetype slash = path.indexOf('/', 1);; slash = path.indexOf('/', slash + 1)) {
    const QByteArray part = slash < 0 ? path : path.left(slash);
    if (::mkdir(part.constData(), 0700) != 0 && errno != EEXIST) {
      throw errnoError(errno, QStringLiteral("作成の記録のフォルダー %1 を作れません").arg(folder));
    }
    if (slash < 0) return;
  }
}

RuntimeError damaged(const QString& file) {
  return RuntimeError(ErrorCode::kPathFileAccessError,
                      QStringLiteral("作成の記録 %1 が壊れています").arg(file));
}

void removeDatabase(const QString& file) {
  for (const char* suffix : {"", "-wal", "-shm", "-journal"}) QFile::remove(file + suffix);
}

}  // namespace

SqliteBuildRecords::SqliteBuildRecords(QString file) : file_(std::move(file)) {}

// What a run held back without a flush is lost, as the port allows: a destructor has no
// one to tell a failure to.
SqliteBuildRecords::~SqliteBuildRecords() = default;

QString SqliteBuildRecords::inUserCache() {
  QString cache = qEnvironmentVariable("XDG_CACHE_HOME");
  if (!cache.startsWith(u'/')) cache = qEnvironmentVariable("HOME") + QStringLiteral("/.cache");
  return cache + QStringLiteral("/orv/builds.sqlite");
}

void SqliteBuildRecords::close() {
  connection_.reset();  // finalises the statements, and ends any transaction
  find_ = store_ = nullptr;
  heldBack_.clear();
  readingSince_.reset();
}

BuildRecords::Found SqliteBuildRecords::open(Access access) {
  const std::lock_guard lock(mutex_);
  return access == Access::kRead ? openToRead() : openToWrite();
}

// The table as this version keeps it, whatever the database held: kNone for a new
// database, kOtherVersion for one of another layout, whose albums are dropped.
BuildRecords::Found SqliteBuildRecords::layOut() {
  // Two runs starting at once: the first lays it out, the second finds it done.
  connection_->run("BEGIN IMMEDIATE");
  const qint64 layout = connection_->number("PRAGMA user_version");
  const bool hasTable =
      connection_->number("SELECT count(*) FROM sqlite_master WHERE name = 'albums'") > 0;
  Found found = Found::kUsable;
  if (layout == 0 && !hasTable) {
    found = Found::kNone;
  } else if (layout != kLayout || !hasTable) {
    connection_->run("DROP TABLE IF EXISTS albums");
    found = Found::kOtherVersion;
  }
  if (found != Found::kUsable) connection_->run(kCreateTable);
  connection_->run("COMMIT");
  return found;
}

BuildRecords::Found SqliteBuildRecords::openToWrite() {
  makeFolder(folderOf(file_));
  for (bool damaged = false;; damaged = true) {
    try {
      connection_ = std::make_unique<SqliteConnection>(
          file_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
          kBusyMilliseconds);
      // Readers never wait for the writer; a commit appends to the log without a sync.
      connection_->run("PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL");
      if (connection_->text("PRAGMA quick_check") != "ok") throw DamagedDatabase{};
      const Found found = layOut();
      return damaged ? Found::kDamaged : found;
    } catch (const DamagedDatabase&) {
      close();
      // A cache that can't be read is worth nothing: a new one takes its place.
      if (damaged)
        throw RuntimeError(ErrorCode::kPathFileAccessError,
                           QStringLiteral("作成の記録 %1 を作り直せません").arg(file_));
      removeDatabase(file_);
    } catch (...) {
      close();
      throw;
    }
  }
}

BuildRecords::Found SqliteBuildRecords::openToRead() {
  if (!QFile::exists(file_)) return Found::kNone;
  try {
    // Opened to write where it may be, and then kept from writing: a connection that may
    // write takes its log away again when it closes, where one opened to read leaves it.
    connection_ = std::make_unique<SqliteConnection>(
        file_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, kBusyMilliseconds);
    connection_->run("PRAGMA query_only = 1");
    if (connection_->text("PRAGMA quick_check") != "ok") throw DamagedDatabase{};
    const qint64 layout = connection_->number("PRAGMA user_version");
    if (layout == kLayout) return Found::kUsable;
    close();
    return layout == 0 ? Found::kNone : Found::kOtherVersion;
  } catch (const DamagedDatabase&) {
    close();
    return Found::kDamaged;
  } catch (...) {
    close();
    throw;
  }
}

std::optional<BuildRecord> SqliteBuildRecords::find(const QString& folder) {
  const std::lock_guard lock(mutex_);
  if (!connection_) return std::nullopt;
  const QByteArray key = folder.toUtf8();
  if (const auto held = heldBack_.find(key); held != heldBack_.end()) return held->second;
  std::optional<BuildRecord> found;
  try {
    const auto now = std::chrono::steady_clock::now();
    if (readingSince_ && now - *readingSince_ >= kLongestReading) endReading();
    if (!readingSince_) {
      connection_->run("BEGIN");
      readingSince_ = now;
    }
    connection_->query(
        find_, "SELECT state, summary FROM albums WHERE folder = ?", {key}, [&](sqlite3_stmt* row) {
          found = BuildRecord{SqliteConnection::column(row, 0), SqliteConnection::column(row, 1)};
        });
  } catch (const DamagedDatabase&) {
    throw damaged(file_);
  }
  return found;
}

void SqliteBuildRecords::store(const QString& folder, const BuildRecord& record) {
  const std::lock_guard lock(mutex_);
  if (!connection_) return;
  if (heldBack_.empty()) firstHeldBack_ = std::chrono::steady_clock::now();
  heldBack_.insert_or_assign(folder.toUtf8(), record);
  if (heldBack_.size() >= kMostHeldBack ||
      std::chrono::steady_clock::now() - firstHeldBack_ >= kLongestHeldBack) {
    writeHeldBack();
  }
}

void SqliteBuildRecords::flush() {
  const std::lock_guard lock(mutex_);
  try {
    endReading();
  } catch (const DamagedDatabase&) {
    throw damaged(file_);
  }
  writeHeldBack();
}

void SqliteBuildRecords::endReading() {
  if (!readingSince_) return;
  readingSince_.reset();
  connection_->run("COMMIT");
}

void SqliteBuildRecords::writeHeldBack() {
  if (heldBack_.empty() || !connection_) return;
  endReading();
  // Tried once: what fails is told, and the run goes on without the record.
  const std::map<QByteArray, BuildRecord> records = std::exchange(heldBack_, {});
  try {
    connection_->run("BEGIN IMMEDIATE");
    try {
      for (const auto& [folder, record] : records) {
        connection_->query(store_, "REPLACE INTO albums(folder, state, summary) VALUES(?, ?, ?)",
                           {folder, record.state, record.summary}, [](sqlite3_stmt*) {});
      }
      connection_->run("COMMIT");
    } catch (...) {
      connection_->abandonTransaction();
      throw;
    }
  } catch (const DamagedDatabase&) {
    throw damaged(file_);
  }
}

}  // namespace orv::platform
