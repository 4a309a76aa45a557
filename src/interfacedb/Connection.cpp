#include "interfacedb/Connection.h"

#include <array>
#include <fstream>

#include "diag/FileSystem.h"
#include "interfacedb/ConnectionString.h"
#include "interfacedb/DbError.h"
#include "interfacedb/ObjectState.h"
#include "interfacedb/Sqlite.h"
#include "interfacedb/Value.h"
#include "interfacedb/access/AccessDatabase.h"

namespace vantrell::db {

namespace {

constexpr int kBusyTimeoutMs = 2000;

// Access files start with a page whose bytes 4 to 18 name the engine.
bool looksLikeAccessFile(const std::string& path) {
    std::ifstream file(utf8ToPath(path), std::ios::binary);
    std::array<char, 19> head{};
    if (!file.read(head.data(), head.size())) {
        return false;
    }
    const std::string_view name(head.data() + 4, 15);
    return name == "Standard Jet DB" || name == "Standard ACE DB";
}

// A view can compute without end (a recursive one never returns) and a trigger can write
// where no statement of the program does: a file that holds either is not read at all. The
// refusal names each, so that the clerk can tell which to remove.
void refuseViewsAndTriggers(sqlite3* db, const std::string& path) {
    sqlite3_stmt* raw = nullptr;
    const int rc = sqlite3_prepare_v2(
        db, "SELECT type, name FROM sqlite_master WHERE type IN ('view', 'trigger') ORDER BY rowid",
        -1, &raw, nullptr);
    const detail::Statement statement(raw);
    detail::check(rc, db);
    constexpr int kNamed = 5;  // a file with thousands is refused in one line all the same
    std::string found;
    int count = 0;
    while (sqlite3_step(raw) == SQLITE_ROW) {
        if (++count > kNamed) {
            continue;
        }
        const auto* type = sqlite3_column_text(raw, 0);
        const auto* name = sqlite3_column_text(raw, 1);
        found += (found.empty() ? "" : ", ") +
                 std::string(type != nullptr ? reinterpret_cast<const char*>(type) : "") + " \"" +
                 std::string(name != nullptr ? reinterpret_cast<const char*>(name) : "") + "\"";
    }
    if (count > kNamed) {
        found += " and " + std::to_string(count - kNamed) + " more";
    }
    if (!found.empty()) {
        throw DbError("'" + path + "' holds views or triggers (" + found +
                      "); the program reads only plain tables.");
    }
}

}  // namespace

std::shared_ptr<detail::Database> openDatabaseFile(const std::string& path) {
    std::error_code error;
    const auto fsPath = utf8ToPath(path);
    if (path.empty() || !std::filesystem::exists(fsPath, error)) {
        throw DbError("Could not find file '" + path + "'.");
    }
    if (std::filesystem::is_directory(fsPath, error)) {
        throw DbError("'" + path + "' is a folder, not a database file.");
    }
    // An empty file holds no database; SQLite would take it for a new one.
    if (std::filesystem::file_size(fsPath, error) == 0 && !error) {
        throw DbError("'" + path + "' is empty: it holds no database.");
    }
    if (looksLikeAccessFile(path)) {
        return access::openAccessDatabase(path);
    }
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &raw,
                                   SQLITE_OPEN_READWRITE | kOneThreadPerConnection, nullptr);
    auto database = std::make_shared<detail::Database>(raw, path);
    if (rc != SQLITE_OK) {
        throw DbError("Could not open '" + path + "': " + sqlite3_errstr(rc), rc);
    }
    sqlite3_busy_timeout(raw, kBusyTimeoutMs);
    // Temporary data stays in memory, not in files: the pages each step of a commit keeps aside
    // in case it is undone alone (about 80 MB written and dropped in an export of 200,000
    // tickets), and the spill of a large sort; neither has to outlive the process.
    sqlite3_exec(raw, "PRAGMA temp_store=MEMORY", nullptr, nullptr, nullptr);
    // Reading the schema is where SQLite notices a file that is not a database.
    const int check =
        sqlite3_exec(raw, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    if (check == SQLITE_NOTADB) {
        throw DbError("Unrecognized database format '" + path + "'.", check);
    }
    if (check != SQLITE_OK) {
        throw DbError("Could not open '" + path + "': " + sqlite3_errmsg(raw), check);
    }
    refuseViewsAndTriggers(raw, path);
    return database;
}

Connection::~Connection() = default;

void Connection::open(std::string_view connectionString, std::string_view, std::string_view, int) {
    if (database_) {
        throw DbError("Operation is not allowed when the object is open.");
    }
    database_ = openDatabaseFile(dataSourceOf(connectionString));
    connectionString_ = connectionString;
}

void Connection::execute(std::string_view sql, int) {
    auto db = database();
    auto statement = detail::prepareSingle(db->handle(), sql);
    if (!sqlite3_stmt_readonly(statement.get())) {
        db->prepareForWrites();
    }
    int rc = SQLITE_ROW;
    while (rc == SQLITE_ROW) {
        rc = sqlite3_step(statement.get());
    }
    detail::check(rc, db->handle());
}

void Connection::execute(std::string_view sql, const std::vector<Value>& parameters) {
    auto db = database();
    // Such statements run once per ticket: prepared once, reset after each use.
    sqlite3_stmt* statement = db->cachedStatement(sql);
    struct Reset {
        sqlite3_stmt* statement;
        ~Reset() {
            sqlite3_reset(statement);
            sqlite3_clear_bindings(statement);
        }
    } reset{statement};
    if (!sqlite3_stmt_readonly(statement)) {
        db->prepareForWrites();
    }
    int index = 1;
    for (const Value& value : parameters) {
        detail::bindValue(statement, index++, value);
    }
    int rc = SQLITE_ROW;
    while (rc == SQLITE_ROW) {
        rc = sqlite3_step(statement);
    }
    detail::check(rc, db->handle());
}

namespace {

// Counts a transaction of the connection while it is open.
class OpenTransaction {
  public:
    explicit OpenTransaction(detail::Database& db) : db_(db) { db_.enterTransaction(); }
    ~OpenTransaction() { db_.leaveTransaction(); }
    OpenTransaction(const OpenTransaction&) = delete;
    OpenTransaction& operator=(const OpenTransaction&) = delete;

  private:
    detail::Database& db_;
};

// SQLite ends a transaction on its own after some failures (a full disk, an I/O error).
bool rolledBackBySqlite(const detail::Database& db) {
    return sqlite3_get_autocommit(db.handle()) != 0;
}

}  // namespace

void Connection::inTransaction(const std::function<void()>& body) {
    auto db = database();
    if (db->openTransactions() > 0) {
        if (rolledBackBySqlite(*db)) {
            throw TransactionLost(
                "The transaction was rolled back after an earlier failure; nothing more can be "
                "added to it.");
        }
        const OpenTransaction open(*db);
        detail::Savepoint savepoint(*db);
        body();
        savepoint.release();
        return;
    }
    // The journal mode cannot change inside a transaction: set it first.
    db->prepareForWrites();
    detail::Transaction transaction(db->handle());
    const OpenTransaction open(*db);
    body();
    transaction.commit();
}

void Connection::inOneCommit(const std::function<void()>& body) {
    auto db = database();
    if (db->openTransactions() > 0) {
        body();
        return;
    }
    db->prepareForWrites();
    detail::Transaction transaction(db->handle());
    const OpenTransaction open(*db);
    const auto commit = [&] {
        if (rolledBackBySqlite(*db)) {
            throw DbError(
                "SQLite rolled back the writes after a failure; the rows written before it are "
                "lost.");
        }
        transaction.commit();
    };
    try {
        body();
    } catch (...) {
        try {
            commit();
        } catch (const DbError&) {
            // The failure that stopped `body` is the one to report.
        }
        throw;
    }
    commit();
}

int Connection::state() const {
    return database_ ? kStateOpen : kStateClosed;
}

bool Connection::transactionOpen() const {
    return database_ && database_->openTransactions() > 0;
}

void Connection::close() {
    if (!database_) {
        throw DbError("Operation is not allowed when the object is closed.");
    }
    database_.reset();
}

std::shared_ptr<detail::Database> Connection::database() const {
    if (!database_) {
        throw DbError("Operation is not allowed when the object is closed.");
    }
    return database_;
}

}  // namespace vantrell::db
