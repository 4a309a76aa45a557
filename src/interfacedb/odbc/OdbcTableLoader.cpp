#include "interfacedb/odbc/OdbcTableLoader.h"

#include <charconv>
#include <cstdio>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "interfacedb/DateTime.h"
#include "interfacedb/DbError.h"
#include "interfacedb/Sqlite.h"
#include "interfacedb/access/ValueBinding.h"

namespace vantrell::db::odbc {

namespace {

// How a column's values are read from the driver and stored.
enum class Kind { Boolean, Integer, Single, Double, Decimal, Date, Text, Guid, Binary };

Kind kindOf(const ColumnInfo& column) {
    switch (column.sqlType) {
        case SQL_BIT:
            return Kind::Boolean;
        case SQL_TINYINT:
        case SQL_SMALLINT:
        case SQL_INTEGER:
        case SQL_BIGINT:
            return Kind::Integer;
        case SQL_REAL:
            return Kind::Single;
        case SQL_FLOAT:
            // The mdbtools driver describes Access's Single as a float of 4 bytes; a precision
            // (24 or 53 bits) is never that small.
            return column.size <= 4 ? Kind::Single : Kind::Double;
        case SQL_DOUBLE:
            return Kind::Double;
        case SQL_DECIMAL:
        case SQL_NUMERIC:
            return Kind::Decimal;
        case SQL_TYPE_TIMESTAMP:
        case SQL_TYPE_DATE:
        case SQL_TYPE_TIME:
        case SQL_DATETIME:
        case SQL_TIMESTAMP:
            return Kind::Date;
        case SQL_CHAR:
        case SQL_VARCHAR:
        case SQL_LONGVARCHAR:
        case SQL_WCHAR:
        case SQL_WVARCHAR:
        case SQL_WLONGVARCHAR:
            return Kind::Text;
        case SQL_GUID:
            return Kind::Guid;
        default:
            return Kind::Binary;  // OLE Object, Binary and kinds this engine does not know
    }
}

// A value of the current row read whole in pieces of `type`; nothing when it is Null. Throws
// the driver's message.
template <class Unit>
std::optional<std::basic_string<Unit>> readLong(SQLHSTMT statement, SQLUSMALLINT column,
                                                SQLSMALLINT type, bool terminated) {
    std::basic_string<Unit> value;
    Unit buffer[4096];
    for (;;) {
        SQLLEN indicator = 0;
        const SQLRETURN rc = SQLGetData(statement, column, type, buffer, sizeof buffer, &indicator);
        if (rc == SQL_NO_DATA) {
            return value;
        }
        if (!SQL_SUCCEEDED(rc)) {
            SQLWCHAR state[6]{};
            SQLWCHAR message[512]{};
            SQLINTEGER native = 0;
            SQLSMALLINT length = 0;
            SQLGetDiagRecW(SQL_HANDLE_STMT, statement, 1, state, &native, message, 512, &length);
            throw DbError(narrow(reinterpret_cast<wchar_t*>(message)));
        }
        if (indicator == SQL_NULL_DATA) {
            return std::nullopt;
        }
        // A piece that filled the buffer holds as much as fits, its terminator included.
        const std::size_t room = std::size(buffer) - (terminated ? 1 : 0);
        const std::size_t units =
            indicator == SQL_NO_TOTAL || static_cast<std::size_t>(indicator) > room * sizeof(Unit)
                ? room
                : static_cast<std::size_t>(indicator) / sizeof(Unit);
        value.append(buffer, units);
        if (rc == SQL_SUCCESS) {
            return value;
        }
    }
}

// Reads a fixed-size value; false when it is Null.
template <class T>
bool readFixed(SQLHSTMT statement, SQLUSMALLINT column, SQLSMALLINT type, T& value) {
    SQLLEN indicator = 0;
    if (!SQL_SUCCEEDED(SQLGetData(statement, column, type, &value, sizeof value, &indicator))) {
        SQLWCHAR state[6]{};
        SQLWCHAR message[512]{};
        SQLINTEGER native = 0;
        SQLSMALLINT length = 0;
        SQLGetDiagRecW(SQL_HANDLE_STMT, statement, 1, state, &native, message, 512, &length);
        throw DbError(narrow(reinterpret_cast<wchar_t*>(message)));
    }
    return indicator != SQL_NULL_DATA;
}

std::string dateText(const SQL_TIMESTAMP_STRUCT& t) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u %02u:%02u:%02u", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    return text;
}

std::string guidText(const SQLGUID& g) {
    char text[40];
    std::snprintf(text, sizeof text, "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned long>(g.Data1), g.Data2, g.Data3, g.Data4[0], g.Data4[1],
                  g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
    return text;
}

// Binds an amount, read as decimal text so that no digit is lost on the way.
void bindNativeDecimal(SQLHSTMT statement, SQLUSMALLINT number, sqlite3_stmt* row, int index) {
    const auto text = readLong<char>(statement, number, SQL_C_CHAR, true);
    if (text && !access::bindDecimal(row, index, *text)) {
        throw DbError("the amount " + *text + " is out of range.");
    }
}

// Binds a value that the engine keeps as text (Date/Time, Text, Replication ID) or as bytes;
// `text` keeps it alive until the row is stored.
void bindNativeText(SQLHSTMT statement, SQLUSMALLINT number, Kind kind, sqlite3_stmt* row,
                    int index, std::string& text) {
    switch (kind) {
        case Kind::Date:
            if (SQL_TIMESTAMP_STRUCT value{};
                readFixed(statement, number, SQL_C_TYPE_TIMESTAMP, value)) {
                text = dateText(value);
                access::bindText(row, index, text);
            }
            return;
        case Kind::Text:
            if (const auto wide = readLong<wchar_t>(statement, number, SQL_C_WCHAR, true)) {
                text = narrow(*wide);
                access::bindText(row, index, text);
            }
            return;
        case Kind::Guid:
            if (SQLGUID value{}; readFixed(statement, number, SQL_C_GUID, value)) {
                text = guidText(value);
                access::bindText(row, index, text);
            }
            return;
        default:
            if (const auto bytes = readLong<char>(statement, number, SQL_C_BINARY, false)) {
                text = *bytes;
                access::bindBytes(row, index, text);
            }
            return;
    }
}

// Binds the value of column `number` read as UTF-8 text and converted to its kind; for the
// driver that hands values over in that form only. Throws DbError for text that is not a value
// of the kind.
void bindFromText(SQLHSTMT statement, SQLUSMALLINT number, Kind kind, sqlite3_stmt* row, int index,
                  std::string& text) {
    const auto read = readLong<char>(statement, number, SQL_C_CHAR, true);
    if (!read) {
        if (kind == Kind::Boolean) {
            access::bindBoolean(row, index, false);
        }
        return;
    }
    text = *read;
    const auto notA = [&](const char* what) {
        return DbError("'" + text + "' is not " + what + ".");
    };
    switch (kind) {
        case Kind::Boolean:
            access::bindBoolean(row, index, text != "0" && !text.empty());
            return;
        case Kind::Integer: {
            long long value = 0;
            const auto [end, error] =
                std::from_chars(text.data(), text.data() + text.size(), value);
            if (error != std::errc() || end != text.data() + text.size()) {
                throw notA("a whole number");
            }
            access::bindInteger(row, index, value);
            return;
        }
        case Kind::Single:
        case Kind::Double:
        case Kind::Decimal:
            if (!access::bindDecimal(row, index, text)) {
                throw notA("a number");
            }
            return;
        case Kind::Date: {
            const auto date = DateTime::parse(text);
            if (!date) {
                throw notA("a date");
            }
            text = date->toText();
            break;
        }
        case Kind::Binary:
            access::bindBytes(row, index, text);
            return;
        case Kind::Text:
        case Kind::Guid:
            break;
    }
    access::bindText(row, index, text);
}

// Binds the value of column `number` read in the C type of its kind, for drivers that convert
// values to the type asked for. Throws DbError with the driver's message when the value cannot
// be read, and for an amount too large for the engine.
void bindNative(SQLHSTMT statement, SQLUSMALLINT number, Kind kind, sqlite3_stmt* row, int index,
                std::string& text) {
    switch (kind) {
        case Kind::Boolean: {
            unsigned char flag = 0;
            // A Yes/No value is never Null in Access; a missing one is No.
            readFixed(statement, number, SQL_C_BIT, flag);
            access::bindBoolean(row, index, flag != 0);
            return;
        }
        case Kind::Integer:
            if (SQLBIGINT value = 0; readFixed(statement, number, SQL_C_SBIGINT, value)) {
                access::bindInteger(row, index, value);
            }
            return;
        case Kind::Single:
            if (float value = 0; readFixed(statement, number, SQL_C_FLOAT, value)) {
                access::bindSingle(row, index, value);
            }
            return;
        case Kind::Double:
            if (double value = 0; readFixed(statement, number, SQL_C_DOUBLE, value)) {
                access::bindDouble(row, index, value);
            }
            return;
        case Kind::Decimal:
            bindNativeDecimal(statement, number, row, index);
            return;
        default:
            bindNativeText(statement, number, kind, row, index, text);
            return;
    }
}

}  // namespace

std::string declaredType(const ColumnInfo& column) {
    switch (kindOf(column)) {
        case Kind::Boolean:
            return "BOOLEAN";
        case Kind::Integer:
            return "INTEGER";
        case Kind::Single:
            return "FLOAT4";
        case Kind::Double:
            return "DOUBLE";
        case Kind::Decimal:
            if (column.typeName == "CURRENCY" || column.typeName == "MONEY") {
                return "CURRENCY";
            }
            return "DECIMAL(" + std::to_string(column.size) + "," + std::to_string(column.digits) +
                   ")";
        case Kind::Date:
            return "DATETIME";
        case Kind::Text:
            // Access text holds at most 255 characters; longer is a memo.
            if (column.sqlType == SQL_LONGVARCHAR || column.sqlType == SQL_WLONGVARCHAR ||
                column.size == 0 || column.size > 255) {
                return "TEXT COLLATE NOCASE";
            }
            return "VARCHAR(" + std::to_string(column.size) + ") COLLATE NOCASE";
        case Kind::Guid:
            return "GUID";
        case Kind::Binary:
            return "BLOB";
    }
    return "BLOB";
}

namespace {

// Copies the rows of one table, as the driver hands them over, into a prepared INSERT.
class RowCopier {
  public:
    RowCopier(const AccessFile& file, std::string name, sqlite3* db)
        : file_(file), name_(std::move(name)), db_(db) {}

    // Creates the table with the columns the driver describes and prepares its INSERT.
    void createTable(const std::vector<ColumnInfo>& described) {
        columns_ = described;
        texts_.assign(columns_.size(), std::string());
        std::string list;
        std::string marks;
        for (std::size_t i = 0; i < columns_.size(); ++i) {
            list += (i == 0 ? "" : ", ") + detail::quoteIdentifier(columns_[i].name) + " " +
                    declaredType(columns_[i]);
            marks += i == 0 ? "?" : ", ?";
        }
        const std::string table = detail::quoteIdentifier(name_);
        auto create = detail::prepareSingle(db_, "CREATE TABLE " + table + " (" + list + ")");
        detail::check(sqlite3_step(create.get()), db_);
        insert_ = detail::prepareSingle(db_, "INSERT INTO " + table + " VALUES (" + marks + ")");
    }

    // Stores the row on which `statement` stands.
    void copyRow(SQLHSTMT statement) {
        sqlite3_stmt* row = insert_.get();
        for (std::size_t i = 0; i < columns_.size(); ++i) {
            column_ = columns_[i].name;
            const auto number = static_cast<SQLUSMALLINT>(i + 1);
            const int index = static_cast<int>(i + 1);
            // The statement keeps the last row's values until they are bound anew.
            access::bindNull(row, index);
            if (file_.valuesAsUtf8Text()) {
                bindFromText(statement, number, kindOf(columns_[i]), row, index, texts_[i]);
            } else {
                bindNative(statement, number, kindOf(columns_[i]), row, index, texts_[i]);
            }
        }
        column_.clear();
        const int rc = sqlite3_step(row);
        sqlite3_reset(row);
        if (rc != SQLITE_DONE) {
            throw DbError(sqlite3_errmsg(db_));
        }
    }

    // The failure `why` of reading the table, naming the file, the table and the column being
    // read, if one was.
    DbError failure(const std::string& why) const {
        return DbError("Could not read table '" + name_ + "' of the Access database '" +
                       file_.path() +
                       "': " + (column_.empty() ? why : "column '" + column_ + "': " + why));
    }

  private:
    const AccessFile& file_;
    std::string name_;
    sqlite3* db_;
    std::vector<ColumnInfo> columns_;
    std::vector<std::string> texts_;  // text of the row being stored, column by column
    std::string column_;              // the column being read, for the message of a failure
    detail::Statement insert_;
};

}  // namespace

void loadTable(const AccessFile& file, const std::string& name, sqlite3* db) {
    detail::Transaction transaction(db);
    RowCopier copier(file, name, db);
    try {
        file.readTable(
            name, [&](const std::vector<ColumnInfo>& described) { copier.createTable(described); },
            [&](SQLHSTMT statement) { copier.copyRow(statement); });
    } catch (const DbError& e) {
        // The file's own failure already names the file and the table.
        if (std::string_view(e.what()).starts_with("Could not read table '")) {
            throw;
        }
        throw copier.failure(e.what());
    }
    transaction.commit();
}

}  // namespace vantrell::db::odbc
