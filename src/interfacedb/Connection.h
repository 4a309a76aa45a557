#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vantrell::db {

class Value;
namespace detail {
class Database;
}

// A connection to one database file, named by a connection string's Data Source.
class Connection {
  public:
    // Closed until open() succeeds.
    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Empty until the connection has been opened.
    const std::string& connectionString() const { return connectionString_; }

    // Opens the database file named by the connection string. The user name, password and
    // options are accepted as the callers pass them and not used. Throws DbError when the file
    // is missing, is not a database, or cannot be opened; the connection then stays unopened.
    // Also throws when the connection is already open, when the string names no Data Source,
    // and when the file is empty or holds views or triggers. An Access file is opened read-only.
    void open(std::string_view connectionString, std::string_view userName = {},
              std::string_view password = {}, int options = -1);

    // Applies one statement at once; rows it returns are discarded. Throws DbError when the
    // connection is closed or the statement is refused; text after the one statement is refused.
    void execute(std::string_view sql, int options = -1);

    // Applies one statement whose `?` placeholders take `parameters` in order, so that values
    // from data never change the statement's shape. Throws DbError as execute() does.
    void execute(std::string_view sql, const std::vector<Value>& parameters);

    // Runs `body` as one transaction: what it changes through this connection is committed
    // together when it returns, and rolled back when it throws (the exception passes on). Throws
    // DbError when the transaction cannot begin or commit; nothing of it is then kept.
    // Inside another transaction of this connection (inTransaction or inOneCommit), `body`
    // becomes a step of that one: undone alone when it throws, and otherwise kept to be committed
    // with the rest. Throws TransactionLost, running nothing, when SQLite has rolled back the
    // enclosing transaction after an earlier failure.
    void inTransaction(const std::function<void()>& body);

    // Runs `body` with everything it writes through this connection committed once, when it
    // ends, whether it returns or throws: as with each statement committed on its own, the
    // writes made before a failure are kept, for the price of one commit instead of one each.
    // A statement that fails is undone alone. Throws DbError when the commit fails (nothing of
    // `body` is then kept) or when SQLite rolled the writes back after a failure on the way;
    // when `body` threw, its exception passes on instead. Inside another transaction of this
    // connection, `body` just runs: the enclosing one commits.
    void inOneCommit(const std::function<void()>& body);

    // kStateOpen or kStateClosed.
    int state() const;

    // Whether inTransaction() or inOneCommit() is running on this connection: what they wrote
    // is not yet seen through any other connection.
    bool transactionOpen() const;

    // Closes the connection. Throws DbError when it is not open. Result sets opened on it keep
    // the rows they read; adding a row to one then fails.
    void close();

    // The open database, for the engine's result sets and catalog. Throws when closed.
    std::shared_ptr<detail::Database> database() const;

  private:
    std::string connectionString_;
    std::shared_ptr<detail::Database> database_;
};

// Opens the SQLite file at `path` as the engine does for a connection, an Access file as a
// read-only image. Throws DbError, as Connection::open() does, when the file cannot be used.
std::shared_ptr<detail::Database> openDatabaseFile(const std::string& path);

}  // namespace vantrell::db
