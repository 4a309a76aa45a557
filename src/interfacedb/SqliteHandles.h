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

}  // namespace vantrell::db
