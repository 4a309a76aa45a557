#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "interfacedb/access/AccessFile.h"

namespace vantrell::db::access {

// One pass over the rows of an Access table: its data pages in the order of its page map, each
// row split into its fields. libmdb reads the pages; this checks what libmdb would let pass, so
// that a damaged or truncated file fails instead of giving fewer rows.
class TableScan {
  public:
    // Reads the definition of the table `entry`. Throws DbError naming the file and the table
    // when it cannot be read.
    TableScan(const AccessFile& file, MdbCatalogEntry& entry);
    ~TableScan();
    TableScan(const TableScan&) = delete;
    TableScan& operator=(const TableScan&) = delete;

    // The table's name as the file spells it.
    const std::string& name() const { return name_; }
    // The number of the table's columns, and column `i` of them (i below columnCount()).
    unsigned columnCount() const;
    const MdbColumn& column(unsigned i) const;
    // The index of the column named `name` (as the file spells it), if there is one.
    std::optional<unsigned> columnNamed(std::string_view name) const;

    // Calls `row` with the fields of each row in turn, the field of column i at index i; the
    // fields point into libmdb's page buffer and are valid during the call only. Throws DbError
    // when a page the map names is missing or not whole, a row is damaged, or the rows found do
    // not add up to the count the table definition keeps.
    void forEachRow(const std::function<void(const MdbField*)>& row);

    // Throws DbError: "Could not read table ... of the Access database ...: " + `what`.
    [[noreturn]] void fail(const std::string& what) const;

  private:
    unsigned scanPage(const std::function<void(const MdbField*)>& row, guint32 page);

    struct TableDefinitionFree {
        void operator()(MdbTableDef* table) const { mdb_free_tabledef(table); }
    };

    const AccessFile& file_;
    std::string name_;
    std::unique_ptr<MdbTableDef, TableDefinitionFree> table_;
};

}  // namespace vantrell::db::access
