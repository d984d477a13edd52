#include "platform/sqlite/SqliteConnection.h"

#include <sqlite3.h>

namespace orv::platform {
namespace {

// Why SQLite failed, in the user's words where the reason is a common one.
QString reasonOf(int code, sqlite3* db) {
  switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return QStringLiteral("ほかの orv が使用中のまま、待つ時間を過ぎました");
    case SQLITE_READONLY:
    case SQLITE_PERM:
      return QStringLiteral("書き込めません");
    case SQLITE_FULL:
      return QStringLiteral("ディスクに空きがありません");
    default:
      break;
  }
  return QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(code));
}

}  // namespace

SqliteConnection::SqliteConnection(const QString& file, int flags, int busyMilliseconds)
    : file_(file) {
  const int code = sqlite3_open_v2(file.toUtf8().constData(), &db_, flags, nullptr);
  if (code != SQLITE_OK) fail(code);
  sqlite3_extended_result_codes(db_, 1);
  sqlite3_busy_timeout(db_, busyMilliseconds);
}

SqliteConnection::~SqliteConnection() {
  // Every statement of the connection is finalised with it.
  for (sqlite3_stmt* s = sqlite3_next_stmt(db_, nullptr); s; s = sqlite3_next_stmt(db_, nullptr))
    sqlite3_finalize(s);
  sqlite3_close(db_);
}

void SqliteConnection::fail(int code) const {
  const int primary = code & 0xff;
  if (primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB) throw DamagedDatabase{};
  const QString what = QStringLiteral("作成の記録 %1 を使えません").arg(file_);
  // A failure of the system's own (a folder that takes no file, a read-only mount) is
  // told by its errno, as every other file of the program is.
  if (const int err = db_ ? sqlite3_system_errno(db_) : 0;
      err != 0 &&
      (primary == SQLITE_CANTOPEN || primary == SQLITE_IOERR || primary == SQLITE_READONLY)) {
    throw errnoError(err, what);
  }
  const ErrorCode number = primary == SQLITE_READONLY || primary == SQLITE_PERM
                               ? ErrorCode::kPermissionDenied
                               : ErrorCode::kPathFileAccessError;
  throw RuntimeError(number,
                     what + QStringLiteral("（") + reasonOf(code, db_) + QStringLiteral("）"));
}

void SqliteConnection::run(const char* sql) {
  char* message = nullptr;
  const int code = sqlite3_exec(db_, sql, nullptr, nullptr, &message);
  sqlite3_free(message);
  if (code != SQLITE_OK) fail(code);
}

void SqliteConnection::abandonTransaction() noexcept {
  sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

qint64 SqliteConnection::number(const char* sql) {
  sqlite3_stmt* statement = nullptr;
  qint64 value = 0;
  query(statement, sql, {}, [&](sqlite3_stmt* s) { value = sqlite3_column_int64(s, 0); });
  sqlite3_finalize(statement);
  return value;
}

QByteArray SqliteConnection::text(const char* sql) {
  sqlite3_stmt* statement = nullptr;
  QByteArray value;
  query(statement, sql, {}, [&](sqlite3_stmt* s) {
    if (value.isEmpty()) value = column(s, 0);
  });
  sqlite3_finalize(statement);
  return value;
}

QByteArray SqliteConnection::column(sqlite3_stmt* statement, int index) {
  const void* bytes = sqlite3_column_blob(statement, index);
  return QByteArray(static_cast<const char*>(bytes), sqlite3_column_bytes(statement, index));
}

void SqliteConnection::start(sqlite3_stmt*& statement, const char* sql,
                             std::initializer_list<QByteArray> values) {
  if (statement == nullptr) {
    if (const int code =
            sqlite3_prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &statement, nullptr)) {
      fail(code);
    }
  }
  sqlite3_reset(statement);
  int index = 1;
  for (const QByteArray& value : values) {
    if (const int code = sqlite3_bind_blob(statement, index++, value.constData(), int(value.size()),
                                           SQLITE_TRANSIENT)) {
      fail(code);
    }
  }
}

bool SqliteConnection::step(sqlite3_stmt* statement) {
  const int code = sqlite3_step(statement);
  if (code == SQLITE_ROW) return true;
  if (code == SQLITE_DONE) return false;
  sqlite3_reset(statement);
  fail(code);
}

}  // namespace orv::platform
