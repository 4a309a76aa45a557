#pragma once

// The in-memory image of an Access file that statements run on, whichever reader fills it:
// libmdb on Linux, ODBC on Windows.

#include <sqlite3.h>

#include <memory>
#include <string>

namespace vantrell::db {
namespace detail {
class Database;
}

namespace access {

// What an Access file holds under a name that a statement used.
struct FoundObject {
    enum class Kind { Missing, Table, SavedQuery, LinkedTable };
    Kind kind = Kind::Missing;
    std::string name;  // as the file spells it
};

// Reads the tables of one Access file.
class TableReader {
  public:
    virtual ~TableReader() = default;

    // The object named `name` as Access finds it, without regard to case; an exact match
    // comes first.
    virtual FoundObject find(const std::string& name) = 0;

    // Creates in `db` the table `name` (as find() spelt it) with its columns and copies every
    // row of it. Throws DbError, leaving `db` without the table, when it cannot be read whole.
    virtual void load(const std::string& name, sqlite3* db) = 0;
};

// An in-memory database that `reader` fills with each table of the Access file at `path` the
// first time a statement names it. Statements that change data are refused. Throws DbError,
// naming `path`, when the in-memory database cannot be made.
std::shared_ptr<detail::Database> openAccessImage(const std::string& path,
                                                  std::unique_ptr<TableReader> reader);

}  // namespace access
}  // namespace vantrell::db
