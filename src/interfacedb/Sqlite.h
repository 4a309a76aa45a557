#pragma once

// The engine's own wrapping of SQLite handles; not for use outside interfacedb.

#include <sqlite3.h>

#include <memory>
#include <string>
#include <string_view>

namespace vantrell::db::detail {

// One open SQLite database, shared by a connection and the result sets opened on it.
class Database {
public:
    Database(sqlite3* handle, std::string path) : handle_(handle), path_(std::move(path)) {}
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    sqlite3* handle() const { return handle_; }
    const std::string& path() const { return path_; }

    // Called before the first write: sets the journal for safe single-statement commits.
    void prepareForWrites();

private:
    sqlite3* handle_;
    std::string path_;
    bool writesPrepared_ = false;
};

// Throws DbError with SQLite's message when `rc` is not a success code.
void check(int rc, sqlite3* db);

struct StatementFinalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// Prepares exactly one statement; text after it (other than blanks and a ";") is refused, so
// that data placed into a statement can never add a second one.
Statement prepareSingle(sqlite3* db, std::string_view sql);

}  // namespace vantrell::db::detail
