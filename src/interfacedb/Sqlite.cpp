#include "interfacedb/Sqlite.h"

#include "interfacedb/DbError.h"

namespace vantrell::db::detail {

Database::~Database() { sqlite3_close_v2(handle_); }

void Database::prepareForWrites() {
    if (writesPrepared_) {
        return;
    }
    // Write-ahead logging keeps every statement's own commit cheap; with synchronous=NORMAL a
    // crash of the process loses nothing that was committed.
    sqlite3_exec(handle_, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
    sqlite3_exec(handle_, "PRAGMA synchronous=NORMAL", nullptr, nullptr, nullptr);
    writesPrepared_ = true;
}

void check(int rc, sqlite3* db) {
    if (rc == SQLITE_OK || rc == SQLITE_ROW || rc == SQLITE_DONE) {
        return;
    }
    const char* message = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    throw DbError(message != nullptr ? message : sqlite3_errstr(rc), rc);
}

Statement prepareSingle(sqlite3* db, std::string_view sql) {
    sqlite3_stmt* raw = nullptr;
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &raw, &tail);
    Statement statement(raw);
    check(rc, db);
    if (!statement) {
        throw DbError("The statement is empty: " + std::string(sql));
    }
    for (const char* p = tail; p != nullptr && p < sql.data() + sql.size(); ++p) {
        if (*p != ' ' && *p != '\t' && *p != '\r' && *p != '\n' && *p != ';') {
            throw DbError("Characters found after end of SQL statement.");
        }
    }
    return statement;
}

}  // namespace vantrell::db::detail
