#include "interfacedb/access/TableScan.h"

#include <vector>

#include "interfacedb/DbError.h"
#include "interfacedb/access/JetValues.h"

namespace vantrell::db::access {

namespace {

// Row offsets carry flags above the offset itself. A row flagged 0x4000 is deleted (0xC000)
// or has moved to another page of the table, where it is stored flagged 0x8000 and is read in
// its turn; libmdb reads rows the same way.
constexpr int kOffsetMask = 0x1FFF;
constexpr int kMovedOrDeleted = 0x4000;

}  // namespace

TableScan::TableScan(const AccessFile& file, MdbCatalogEntry& entry)
    : file_(file), name_(entry.object_name), table_(mdb_read_table(&entry)) {
    if (!table_ || mdb_read_columns(table_.get()) == nullptr || table_->num_cols == 0) {
        throw DbError("Could not read the layout of table '" + name_ +
                      "' of the Access database '" + file_.path() + "'; the file is damaged.");
    }
}

TableScan::~TableScan() = default;

unsigned TableScan::columnCount() const {
    return table_->num_cols;
}

const MdbColumn& TableScan::column(unsigned i) const {
    return *static_cast<const MdbColumn*>(table_->columns->pdata[i]);
}

std::optional<unsigned> TableScan::columnNamed(std::string_view name) const {
    for (unsigned i = 0; i < columnCount(); ++i) {
        if (name == column(i).name) {
            return i;
        }
    }
    return std::nullopt;
}

void TableScan::fail(const std::string& what) const {
    throw DbError("Could not read table '" + name_ + "' of the Access database '" + file_.path() +
                  "': " + what);
}

void TableScan::forEachRow(const std::function<void(const MdbField*)>& row) {
    MdbHandle* mdb = file_.handle();
    unsigned rows = 0;
    for (guint32 page = 0;;) {
        const gint32 next =
            mdb_map_find_next(mdb, table_->usage_map, static_cast<guint>(table_->map_sz), page);
        if (next == 0) {
            break;
        }
        if (next < 0 || static_cast<guint32>(next) <= page) {
            fail("its page map cannot be read; the file is damaged.");
        }
        page = static_cast<guint32>(next);
        if (!file_.holdsPage(page) || mdb_read_pg(mdb, page) != mdb->fmt->pg_size) {
            fail("page " + std::to_string(page) + " is missing; the file is truncated.");
        }
        if (mdb->pg_buf[0] == MDB_PAGE_DATA &&
            readUInt32(mdb->pg_buf + 4) == table_->entry->table_pg) {
            rows += scanPage(row, page);
        }
    }
    // The table definition keeps a count of rows; a file cut short or damaged loses some.
    if (rows != table_->num_rows) {
        fail("it should hold " + std::to_string(table_->num_rows) + " rows, but " +
             std::to_string(rows) +
             " could be read; the file is damaged (Compact and Repair in Access may mend it).");
    }
}

unsigned TableScan::scanPage(const std::function<void(const MdbField*)>& row, guint32 page) {
    MdbHandle* mdb = file_.handle();
    std::vector<MdbField> fields(table_->num_cols);
    const unsigned count = readUInt16(mdb->pg_buf + mdb->fmt->row_count_offset);
    unsigned found = 0;
    for (unsigned i = 0; i < count; ++i) {
        int start = 0;
        std::size_t size = 0;
        if (mdb_find_row(mdb, static_cast<int>(i), &start, &size) != 0 || size == 0 ||
            (start & kMovedOrDeleted) != 0) {
            continue;
        }
        if (mdb_crack_row(table_.get(), start & kOffsetMask, size, fields.data()) < 0) {
            fail("a row on page " + std::to_string(page) + " is damaged.");
        }
        row(fields.data());
        ++found;
    }
    return found;
}

}  // namespace vantrell::db::access
