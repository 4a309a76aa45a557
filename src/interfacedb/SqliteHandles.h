#pragma once

#include <sqlite3.h>

#include <memory>

namespace vantrell::db {

// Owners of SQLite's handles, for every part of the program that speaks to SQLite itself (the
// engine, the stand-in accounting system's company file, the sample-data writer, the
// benchmark): a statement is finalized, and a database closed, when its owner goes. A database
// whose statements are still open is closed once the last of them is finalized.
struct SqliteStatementFinalizer {
    // Finalizes `statement`; SQLite's result is dropped.
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using SqliteStatement = std::unique_ptr<sqlite3_stmt, SqliteStatementFinalizer>;

struct SqliteDatabaseCloser {
    // Closes `db`, or marks it to close once its last statement is finalized; SQLite's result
    // is dropped.
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
using SqliteDatabase = std::unique_ptr<sqlite3, SqliteDatabaseCloser>;

// Added to the flags of every database this program opens: a connection is only ever used by
// the thread that holds its owner, so SQLite's lock around each call on it (a tenth of the time
// of reading or writing a large table) guards nothing.
inline constexpr int kOneThreadPerConnection = SQLITE_OPEN_NOMUTEX;

}  // namespace vantrell::db
