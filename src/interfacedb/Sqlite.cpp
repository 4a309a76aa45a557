#include "interfacedb/Sqlite.h"

#include <mutex>
#include <unordered_map>

#include "interfacedb/DbError.h"
#include "interfacedb/JournalSettings.h"
#include "interfacedb/Value.h"

namespace vantrell::db::detail {

namespace {

// Statements are prepared from the bare SQLite handle, so the table sources are found by it.
std::mutex sourcesMutex;
std::unordered_map<sqlite3*, TableSource*>& sources() {
    static std::unordered_map<sqlite3*, TableSource*> map;
    return map;
}

TableSource* sourceFor(sqlite3* db) {
    const std::lock_guard lock(sourcesMutex);
    const auto found = sources().find(db);
    return found != sources().end() ? found->second : nullptr;
}

}  // namespace

Database::~Database() {
    statements_.clear();
    if (source_) {
        const std::lock_guard lock(sourcesMutex);
        sources().erase(handle());
    }
}

void Database::setTableSource(std::unique_ptr<TableSource> source, std::string refusal) {
    {
        const std::lock_guard lock(sourcesMutex);
        sources()[handle()] = source.get();
    }
    source_ = std::move(source);
    refusal_ = std::move(refusal);
}

void Database::prepareForWrites() {
    if (!refusal_.empty()) {
        throw DbError(refusal_);
    }
    // Inside a transaction that SQLite ended on its own (a full disk, an I/O error), a write
    // would be committed by itself, on top of what the transaction was replacing.
    if (openTransactions_ > 0 && sqlite3_get_autocommit(handle()) != 0) {
        throw TransactionLost(
            "The transaction was rolled back after an earlier failure; nothing more can be added "
            "to it.");
    }
    if (writesPrepared_) {
        return;
    }
    for (const char* pragma : kJournalSettings) {
        sqlite3_exec(handle(), pragma, nullptr, nullptr, nullptr);
    }
    writesPrepared_ = true;
}

sqlite3_stmt* Database::cachedStatement(std::string_view sql) {
    const std::string key(sql);
    auto found = statements_.find(key);
    if (found == statements_.end()) {
        found = statements_.emplace(key, prepareSingle(handle(), sql)).first;
    }
    return found->second.get();
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
    int rc = sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &raw, &tail);
    // Each round supplies one missing table; a source answers false once it has nothing more.
    for (TableSource* source = rc != SQLITE_OK ? sourceFor(db) : nullptr;
         rc != SQLITE_OK && source != nullptr && source->supply(db, sqlite3_errmsg(db));) {
        rc = sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &raw, &tail);
    }
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

Transaction::Transaction(sqlite3* db) : db_(db) {
    check(sqlite3_exec(db_, "BEGIN", nullptr, nullptr, nullptr), db_);
}

Transaction::~Transaction() {
    if (!committed_) {
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    }
}

void Transaction::commit() {
    check(sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr), db_);
    committed_ = true;
}

namespace {

int runCached(Database& db, const char* sql) {
    sqlite3_stmt* statement = db.cachedStatement(sql);
    const int rc = sqlite3_step(statement);
    sqlite3_reset(statement);
    return rc;
}

}  // namespace

Savepoint::Savepoint(Database& db) : db_(db) {
    // All three are prepared here, so that the destructor finds them ready.
    db_.cachedStatement("ROLLBACK TO step");
    db_.cachedStatement("RELEASE step");
    check(runCached(db_, "SAVEPOINT step"), db_.handle());
}

Savepoint::~Savepoint() {
    // Undoes what followed, then ends the savepoint; the enclosing transaction stays open.
    if (!released_ && sqlite3_get_autocommit(db_.handle()) == 0) {
        try {
            runCached(db_, "ROLLBACK TO step");
            runCached(db_, "RELEASE step");
        } catch (...) {
            // The enclosing transaction's end settles it: its commit or rollback.
        }
    }
}

void Savepoint::release() {
    check(runCached(db_, "RELEASE step"), db_.handle());
    released_ = true;
}

void bindValue(sqlite3_stmt* statement, int index, const Value& value) {
    int rc = SQLITE_OK;
    switch (value.kind()) {
        case Value::Kind::Null:
            rc = sqlite3_bind_null(statement, index);
            break;
        case Value::Kind::Boolean:
            rc = sqlite3_bind_int(statement, index, value.toBoolean() ? 1 : 0);
            break;
        case Value::Kind::Integer:
            rc = sqlite3_bind_int64(statement, index, value.toInteger());
            break;
        case Value::Kind::Single:
        case Value::Kind::Double:
            rc = sqlite3_bind_double(statement, index, value.toDouble());
            break;
        case Value::Kind::Date: {
            const std::string s = value.toDate().toStorageText();
            rc = sqlite3_bind_text(statement, index, s.data(), static_cast<int>(s.size()),
                                   SQLITE_TRANSIENT);
            break;
        }
        case Value::Kind::Text: {
            // Bound in place, not copied: every caller steps and resets the statement, and
            // clears its bindings, while the value it bound still lives.
            const std::string& s = *value.textIf();
            rc = sqlite3_bind_text(statement, index, s.data(), static_cast<int>(s.size()),
                                   SQLITE_STATIC);
            break;
        }
    }
    check(rc, sqlite3_db_handle(statement));
}

std::string quoteIdentifier(std::string_view name) {
    std::string quoted = "\"";
    for (char c : name) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + "\"";
}

}  // namespace vantrell::db::detail
