#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vantrell::db {

namespace detail {
class Database;
}

// A table being defined: its name and its columns in the order appended.
struct TableDefinition {
    struct ColumnDefinition {
        std::string name;
        int typeCode = 0;
        int definedSize = 0;  // characters for text; 0 where the type has no size
    };

    std::string name;
    std::vector<ColumnDefinition> columns;

    // Adds a column after the others: `typeCode` a DataTypeCode, `definedSize` its characters
    // for VarWChar. Nothing is checked until the table is appended.
    void appendColumn(std::string columnName, int typeCode, int definedSize = 0) {
        columns.push_back({std::move(columnName), typeCode, definedSize});
    }
};

// The catalog of one database file: creates the file, lists and appends tables.
class Catalog {
  public:
    // Attached to no file: until create() or attach() succeeds, every other call throws
    // DbError.
    Catalog();
    ~Catalog();

    // Makes a new, empty database file at the connection string's Data Source and attaches
    // the catalog to it. Throws DbError when a file is already there or cannot be made.
    // The file is marked as this program's own.
    void create(std::string_view connectionString);

    // Describes the database named by the connection string from now on. Throws DbError as
    // Connection::open() does for a file it cannot open; the catalog is then left as it was.
    void attach(std::string_view connectionString);

    // The names of the tables, the engine's own included. Throws DbError when not attached.
    std::vector<std::string> tableNames() const;

    // Creates the table with its columns in order; its text columns compare without regard to
    // ASCII letter case. Throws DbError when it cannot be created, for instance when a table of
    // that name (in any letter case) exists, the definition has no name or no column, or a
    // column's type is one declaredTypeFor() refuses.
    void appendTable(const TableDefinition& table);

    // Indexes one column of a table, under the name table_column, unless an index of that name
    // exists. An index changes what a lookup costs, never what a statement finds. Throws DbError
    // when it cannot be made: no such table or column, or a file that cannot be written.
    void appendIndex(std::string_view table, std::string_view column);

    // One column of a table as the file declares it.
    struct ColumnInfo {
        std::string name;
        std::string declaredType;  // as written when the column was made; may be empty
    };
    // The columns of the table named exactly `table`, in their order; none when there is no
    // such table. Throws DbError when not attached or the file cannot be read.
    std::vector<ColumnInfo> tableColumns(std::string_view table) const;

    // Adds `column` after the table's last column; existing rows read Null in it. Its text
    // compares without regard to letter case, as appendTable() makes it. Throws DbError when it
    // cannot be added: no such table, a column of that name, a file that cannot be written.
    void appendColumn(std::string_view table, const TableDefinition::ColumnDefinition& column);

  private:
    std::shared_ptr<detail::Database> database_;
};

}  // namespace vantrell::db
