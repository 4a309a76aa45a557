#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "interfacedb/ColumnType.h"
#include "interfacedb/RowStore.h"
#include "interfacedb/Value.h"

namespace vantrell::db {

class Connection;
namespace detail {
class Database;
}

// Taken as the callers pass them: any lock but ReadOnly lets addNew() add rows, and a
// ForwardOnly cursor with the ReadOnly lock reads its rows one at a time (see Recordset).
enum class CursorType : int { ForwardOnly = 0, Keyset = 1, Dynamic = 2, Static = 3 };
enum class LockType : int { ReadOnly = 1, Pessimistic = 2, Optimistic = 3, BatchOptimistic = 4 };

// The rows of one SELECT statement, read once when the set is opened, with a current row.
// Sets opened with a lock other than ReadOnly also add rows to the statement's table.
// A set opened ForwardOnly and ReadOnly holds only its current row instead: moveNext() reads
// the next one from the statement, which stays open (and keeps its read of the database) until
// the last row is passed or the set is closed, and moveFirst() fails once the set has moved on.
// It is for reading a large table once, in the order of the statement; its fields are read
// from the statement's row as they are asked for, with no copy of the row in between.
// A field is found by name, as ADO's Fields("Name"), or by its position among the statement's
// columns, as Fields(i): a loop over many rows finds each position once with ordinalOf() and
// reads by position, instead of comparing names for every field of every row.
class Recordset {
  public:
    // Closed until open() succeeds.
    Recordset();
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    // Runs `sql` on `connection` and positions on the first row. Throws DbError when the set is
    // already open, the connection is closed or the statement is refused; the set then stays
    // closed.
    void open(std::string_view sql, Connection& connection, CursorType cursorType,
              LockType lockType, int options = -1);

    // kStateOpen or kStateClosed.
    int state() const;
    // Throws DbError when the set is not open.
    void close();

    // Before the first row / past the last row. Both are set on an empty set. Each of these
    // four throws DbError when the set is not open, and moveNext() when eof() is set.
    bool bof() const;
    bool eof() const;
    void moveFirst();
    void moveNext();

    // The current row's value of a column, found by name or alias without regard to case.
    // Throws DbError when there is no current row or no such column. Between addNew() and
    // update(), the new row's value.
    Value field(std::string_view name) const;
    // The same by position, 0 for the statement's first column. Throws DbError as field(name)
    // does, with the same text when there is no column at `ordinal`.
    Value field(std::size_t ordinal) const;
    // The position of the column named `name` (alias or column, without regard to case): what
    // field(name) and setField(name, ...) would use. Throws DbError when the set is not open
    // or has no such column, as they do.
    std::size_t ordinalOf(std::string_view name) const;

    // Starts a new row (all Null); any row not yet stored is dropped. Throws DbError when the
    // set is not open, was opened ReadOnly, or its columns are not all columns of one table.
    void addNew();
    // Assigns a column of the new row, typed and checked as the column is. Throws DbError
    // when no new row is started, there is no such column, or coerceForColumn() refuses it.
    void setField(std::string_view name, const Value& value);
    // The same by position; throws as field(ordinal) does for a position out of range.
    void setField(std::size_t ordinal, const Value& value);
    // Stores the new row in the statement's table; a column not assigned takes the table's
    // default. The row is dropped whether or not it could be stored. Throws DbError when no
    // new row is started, the connection is closed, or SQLite refuses the row.
    void update();

    // How many columns the last statement opened has; 0 before the first open. Never throws.
    std::size_t columnCount() const;
    // Which opening of a set this is while it is open: a number that no other open() of any
    // set in the program gave; 0 while closed. Never throws.
    std::uint64_t opening() const { return open_ ? opening_ : 0; }

  private:
    struct Column {
        std::string name;        // as the statement names it (alias or column)
        std::string tableName;   // table it comes from, or ""
        std::string originName;  // column name in that table, or ""
        ColumnType type;
    };

    void requireOpen() const;
    std::size_t columnIndex(std::string_view name) const;
    void requireColumn(std::size_t ordinal) const;
    void requireCurrentRow() const;
    void assign(std::size_t column, const Value& value);
    void insertPending();
    // Steps the streamed statement to its next row, or ends the stream.
    void readStreamedRow();

    std::weak_ptr<detail::Database> database_;
    bool open_ = false;
    std::uint64_t opening_ = 0;
    LockType lockType_ = LockType::ReadOnly;
    std::vector<Column> columns_;
    detail::RowStore cells_;  // rows one after the other, columns_.size() fields each
    std::size_t rowCount_ = 0;
    std::size_t position_ = 0;

    // ForwardOnly and ReadOnly: cells_ is unused, rowCount_ is 1 while the statement is on a
    // row, whose fields are read from it, and stream_ holds the statement until its last row
    // has been read.
    bool streaming_ = false;
    bool streamedAny_ = false;
    bool movedOn_ = false;
    struct Stream;
    std::unique_ptr<Stream> stream_;

    bool adding_ = false;
    std::vector<Value> pending_;
    std::vector<bool> assigned_;

    struct InsertCache;
    std::unique_ptr<InsertCache> insert_;
};

}  // namespace vantrell::db
