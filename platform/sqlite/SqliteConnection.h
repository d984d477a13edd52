#pragma once

#include "core/RuntimeError.h"

#include <QByteArray>
#include <QString>

#include <initializer_list>

struct sqlite3;
struct sqlite3_stmt;

namespace orv::platform {

// A database that is no database any more (SQLITE_CORRUPT, SQLITE_NOTADB): what the
// record starts afresh rather than reports.
struct DamagedDatabase {};

// One connection to an SQLite database, its failures raised as RuntimeErrors that name
// the record `file` and say why in Japanese, a damaged database as DamagedDatabase.
// Not for several threads at once.
//
//   SqliteConnection db(file, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
//   db.run("CREATE TABLE IF NOT EXISTS t(k BLOB PRIMARY KEY, v BLOB)");
//   db.number("PRAGMA user_version")   // 0 for a new database
class SqliteConnection {
 public:
  // Opens `file` with SQLite's open `flags`; writers that meet another's lock wait for it
  // up to `busyMilliseconds`.
  SqliteConnection(const QString& file, int flags, int busyMilliseconds);
  ~SqliteConnection();
  SqliteConnection(const SqliteConnection&) = delete;
  SqliteConnection& operator=(const SqliteConnection&) = delete;

  // Runs `sql`, one statement or several, whatever rows they give.
  void run(const char* sql);
  // Rolls back the transaction under way, after a failure in it: that failure is the one
  // to tell, so this one raises nothing.
  void abandonTransaction() noexcept;
  // The first column of the first row of `sql`, as a number or as text.
  qint64 number(const char* sql);
  QByteArray text(const char* sql);

  // A statement prepared once and run many times: `sql` with `?` for each value bound.
  // Runs it with `values`; hands each row's columns to `row(statement)`; returns the rows.
  template <typename Row>
  int query(sqlite3_stmt*& statement, const char* sql, std::initializer_list<QByteArray> values,
            Row&& row) {
    start(statement, sql, values);
    int rows = 0;
    while (step(statement)) {
      row(statement);
      ++rows;
    }
    return rows;
  }
  static QByteArray column(sqlite3_stmt* statement, int index);

 private:
  void start(sqlite3_stmt*& statement, const char* sql, std::initializer_list<QByteArray> values);
  bool step(sqlite3_stmt* statement);  // true for a row, false when done
  [[noreturn]] void fail(int code) const;

  const QString file_;
  sqlite3* db_ = nullptr;
};

}  // namespace orv::platform
