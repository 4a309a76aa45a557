#pragma once

// The engine's own wrapping of SQLite handles; not for use outside interfacedb.

#include <sqlite3.h>

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "interfacedb/SqliteHandles.h"

namespace vantrell::db {
class Value;
}

namespace vantrell::db::detail {

// Supplies, on first use, the tables of a database that is read into memory from a file of
// another format (an Access file), so that statements run on it unchanged.
class TableSource {
  public:
    virtual ~TableSource() = default;

    // Called when preparing a statement on `db` failed with SQLite's `message`. Loads what the
    // statement lacks and returns true to have it prepared again, or returns false to let the
    // failure stand. Throws DbError with a clearer description of a failure it recognises.
    virtual bool supply(sqlite3* db, const std::string& message) = 0;
};

// One open SQLite database, shared by a connection and the result sets opened on it.
class Database {
  public:
    // Owns `handle`, opened on the file at `path`; it is closed with the database, after the
    // cached statements are finalized.
    Database(sqlite3* handle, std::string path) : handle_(handle), path_(std::move(path)) {}
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // The handle, still owned by the database, and the path it was opened on.
    sqlite3* handle() const { return handle_.get(); }
    const std::string& path() const { return path_; }

    // Called before the first write: sets the journal for safe single-statement commits.
    // Throws DbError when the database is a read-only image of another file, and TransactionLost
    // inside a transaction of the connection that SQLite has rolled back on its own. A setting
    // SQLite refuses is left as it was, without a failure; later calls change nothing.
    void prepareForWrites();

    // Makes this database a read-only image of the file at path(): a statement that names a
    // table it lacks has `source` supply it first, and every write is refused with `refusal`.
    void setTableSource(std::unique_ptr<TableSource> source, std::string refusal);

    // The statement for `sql`, prepared on first use and kept while the database is open, for
    // statements that run once per ticket with other values bound. The caller resets it after
    // use. Throws DbError as prepareSingle() does.
    sqlite3_stmt* cachedStatement(std::string_view sql);

    // How many transactions the connection has begun and not yet ended (nested ones included);
    // the connection counts each one in when it begins and out when it ends.
    int openTransactions() const { return openTransactions_; }
    void enterTransaction() { ++openTransactions_; }
    void leaveTransaction() { --openTransactions_; }

  private:
    SqliteDatabase handle_;  // closed last, after the statements below
    std::string path_;
    bool writesPrepared_ = false;
    int openTransactions_ = 0;
    std::unique_ptr<TableSource> source_;
    std::string refusal_;
    std::unordered_map<std::string, SqliteStatement> statements_;
};

// Throws DbError with SQLite's message when `rc` is not a success code.
void check(int rc, sqlite3* db);

using Statement = SqliteStatement;

// Prepares exactly one statement; text after it (other than blanks and a ";") is refused, so
// that data placed into a statement can never add a second one. A table the statement names is
// first supplied by the database's table source, if it has one. Throws DbError with SQLite's
// message when it refuses the statement, and when `sql` holds none or text follows it.
Statement prepareSingle(sqlite3* db, std::string_view sql);

// A transaction on `db` that is rolled back unless committed.
class Transaction {
  public:
    // Begins the transaction. Throws DbError when SQLite refuses, for instance inside another.
    explicit Transaction(sqlite3* db);
    // Rolls back unless committed; a failure of the rollback is dropped.
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // Throws DbError when the commit fails; the destructor then rolls back.
    void commit();

  private:
    sqlite3* db_;
    bool committed_ = false;
};

// A savepoint inside the transaction open on `db`: what follows it is undone unless released.
// Its statements are prepared once for the database, as a step may take one per ticket.
class Savepoint {
  public:
    // Sets the savepoint. Throws DbError when SQLite refuses it; nothing is then to be undone.
    explicit Savepoint(Database& db);
    // Undoes what followed and ends the savepoint, unless released or SQLite already ended
    // the transaction; the enclosing transaction stays open. Never throws.
    ~Savepoint();
    Savepoint(const Savepoint&) = delete;
    Savepoint& operator=(const Savepoint&) = delete;

    // Keeps what followed the savepoint as part of the enclosing transaction. Throws DbError.
    void release();

  private:
    Database& db_;
    bool released_ = false;
};

// Binds `value` to the statement's parameter `index` (from 1) as the engine stores it: dates in
// their storage text, booleans as 1 or 0. Text is bound in place: the statement must not be
// stepped once `value` is gone or changed (until it is bound anew or its bindings cleared).
// Throws DbError when SQLite refuses it.
void bindValue(sqlite3_stmt* statement, int index, const Value& value);

// `name` as a double-quoted SQL identifier, any quote inside it doubled.
std::string quoteIdentifier(std::string_view name);

}  // namespace vantrell::db::detail
