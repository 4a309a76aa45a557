#include "interfacedb/access/TableLoader.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "interfacedb/DbError.h"
#include "interfacedb/Sqlite.h"
#include "interfacedb/access/JetValues.h"
#include "interfacedb/access/LongValue.h"
#include "interfacedb/access/TableScan.h"
#include "interfacedb/access/ValueBinding.h"

namespace vantrell::db::access {

namespace {

// libmdb 1.0 reads a Decimal column's precision and scale each into the other's place. A scale
// is never larger than its precision, so the smaller of the two is the scale.
int decimalScale(const MdbColumn& column) {
    return std::min(column.col_prec, column.col_scale);
}

// The declared type that makes the engine read a column's values as Access types them. Text
// compares without regard to case, as Access compares it.
std::string declaredType(const MdbColumn& column, bool jet3) {
    switch (column.col_type) {
        case MDB_BOOL:
            return "BOOLEAN";
        case MDB_BYTE:
        case MDB_INT:
        case MDB_LONGINT:
        case MDB_COMPLEX:
            return "INTEGER";
        case MDB_MONEY:
            return "CURRENCY";
        case MDB_FLOAT:
            return "FLOAT4";
        case MDB_DOUBLE:
            return "DOUBLE";
        case MDB_DATETIME:
            return "DATETIME";
        case MDB_TEXT:
            // Jet 4 sizes text in bytes of UTF-16, Jet 3 in bytes of its code page.
            return "VARCHAR(" + std::to_string(jet3 ? column.col_size : column.col_size / 2) +
                   ") COLLATE NOCASE";
        case MDB_MEMO:
            return "TEXT COLLATE NOCASE";
        case MDB_NUMERIC:
            return "DECIMAL(" + std::to_string(std::max(column.col_prec, column.col_scale)) + "," +
                   std::to_string(decimalScale(column)) + ")";
        case MDB_REPID:
            return "GUID";
        default:
            return "BLOB";  // OLE Object, Binary and kinds this engine does not know: as stored
    }
}

// Copies the rows of one table into a prepared INSERT, value by value from the row's bytes.
class RowCopier {
  public:
    RowCopier(const AccessFile& file, TableScan& scan, sqlite3* db)
        : file_(file), scan_(scan), db_(db), texts_(scan.columnCount()) {}

    void createTable() {
        const bool jet3 = IS_JET3(file_.handle());
        std::string columns;
        std::string marks;
        for (unsigned i = 0; i < scan_.columnCount(); ++i) {
            const MdbColumn& column = scan_.column(i);
            columns += (i == 0 ? "" : ", ") + detail::quoteIdentifier(column.name) + " " +
                       declaredType(column, jet3);
            marks += i == 0 ? "?" : ", ?";
        }
        const std::string name = detail::quoteIdentifier(scan_.name());
        auto create = detail::prepareSingle(db_, "CREATE TABLE " + name + " (" + columns + ")");
        detail::check(sqlite3_step(create.get()), db_);
        insert_ = detail::prepareSingle(db_, "INSERT INTO " + name + " VALUES (" + marks + ")");
    }

    void copyRows() {
        scan_.forEachRow([this](const MdbField* fields) {
            sqlite3_stmt* insert = insert_.get();
            for (unsigned i = 0; i < scan_.columnCount(); ++i) {
                bind(static_cast<int>(i) + 1, scan_.column(i), fields[i], texts_[i]);
            }
            const int rc = sqlite3_step(insert);
            sqlite3_reset(insert);
            if (rc != SQLITE_DONE) {
                scan_.fail(sqlite3_errmsg(db_));
            }
        });
    }

  private:
    // The bytes of one field as the row holds them.
    struct FieldBytes {
        const unsigned char* bytes;
        std::size_t size;
    };

    // Binds one value of the row; `text` keeps text alive until the row is stored.
    void bind(int index, const MdbColumn& column, const MdbField& field, std::string& text) {
        sqlite3_stmt* insert = insert_.get();
        // A Yes/No value lives in the row's null flags: a set flag is Yes.
        if (column.col_type == MDB_BOOL) {
            bindBoolean(insert, index, !field.is_null);
            return;
        }
        if (field.is_null || field.value == nullptr) {
            bindNull(insert, index);
            return;
        }
        const FieldBytes value{static_cast<const unsigned char*>(field.value),
                               static_cast<std::size_t>(field.siz > 0 ? field.siz : 0)};
        switch (column.col_type) {
            case MDB_BYTE:
                bindInteger(insert, index, sized(column, value, 1)[0]);
                return;
            case MDB_INT:
                bindInteger(insert, index,
                            static_cast<std::int16_t>(readUInt16(sized(column, value, 2))));
                return;
            case MDB_LONGINT:
            case MDB_COMPLEX:
                bindInteger(insert, index,
                            static_cast<std::int32_t>(readUInt32(sized(column, value, 4))));
                return;
            case MDB_FLOAT:
                bindSingle(insert, index, readSingle(sized(column, value, 4)));
                return;
            case MDB_DOUBLE:
                bindDouble(insert, index, readDouble(sized(column, value, 8)));
                return;
            case MDB_MONEY:
                bindAmount(
                    index,
                    currencyText(static_cast<std::int64_t>(readUInt64(sized(column, value, 8)))));
                return;
            case MDB_NUMERIC:
                bindAmount(index, decimalText(sized(column, value, 17), decimalScale(column)));
                return;
            default:
                bindStored(index, column, value, text);
                return;
        }
    }

    // Binds a value of a kind that the engine keeps as text (Date/Time, Text, Memo, Replication
    // ID) or as bytes (OLE Object, and kinds this engine does not know, as they are stored).
    void bindStored(int index, const MdbColumn& column, const FieldBytes& value,
                    std::string& text) {
        sqlite3_stmt* insert = insert_.get();
        switch (column.col_type) {
            case MDB_DATETIME:
                text = dateText(column, sized(column, value, 8));
                break;
            case MDB_TEXT:
                text = file_.text(value.bytes, value.size);
                break;
            case MDB_MEMO: {
                const std::string stored = longValue(column, value);
                text = file_.text(reinterpret_cast<const unsigned char*>(stored.data()),
                                  stored.size());
                break;
            }
            case MDB_REPID:
                text = guidText(sized(column, value, 16));
                break;
            case MDB_OLE:
                text = longValue(column, value);
                bindBytes(insert, index, text);
                return;
            default:
                text.assign(reinterpret_cast<const char*>(value.bytes), value.size);
                bindBytes(insert, index, text);
                return;
        }
        bindText(insert, index, text);
    }

    // The field's bytes, of which a value of the column's kind needs `needed`; fails when the
    // field is shorter.
    const unsigned char* sized(const MdbColumn& column, const FieldBytes& value,
                               std::size_t needed) const {
        if (value.size < needed) {
            scan_.fail("a value of column '" + std::string(column.name) + "' is damaged.");
        }
        return value.bytes;
    }

    // A Date/Time value in its text form; fails when it is not a date.
    std::string dateText(const MdbColumn& column, const unsigned char* bytes) const {
        const double days = readDouble(bytes);
        auto date = dateTextFromJet(days);
        if (!date) {
            scan_.fail("column '" + std::string(column.name) + "' holds " + std::to_string(days) +
                       ", which is not a date.");
        }
        return std::move(*date);
    }

    void bindAmount(int index, const std::string& decimal) {
        if (!bindDecimal(insert_.get(), index, decimal)) {
            scan_.fail("the amount " + decimal + " is out of range.");
        }
    }

    std::string longValue(const MdbColumn& column, const FieldBytes& stored) const {
        auto value = readLongValue(file_.handle(), stored.bytes, stored.size);
        if (!value) {
            scan_.fail("a value of column '" + std::string(column.name) +
                       "' cannot be read whole; the file is damaged or truncated.");
        }
        return std::move(*value);
    }

    const AccessFile& file_;
    TableScan& scan_;
    sqlite3* db_;
    std::vector<std::string> texts_;  // text of the row being stored, column by column
    detail::Statement insert_;
};

}  // namespace

void loadTable(const AccessFile& file, MdbCatalogEntry& entry, sqlite3* db) {
    TableScan scan(file, entry);
    RowCopier copier(file, scan, db);
    detail::Transaction transaction(db);
    try {
        copier.createTable();
    } catch (const DbError& e) {
        scan.fail(std::string("its copy cannot be made: ") + e.what());
    }
    copier.copyRows();
    transaction.commit();
}

}  // namespace vantrell::db::access
