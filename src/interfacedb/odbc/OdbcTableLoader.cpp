#include "interfacedb/odbc/OdbcTableLoader.h"

#include <charconv>
#include <cstdio>
#include <optional>
#include <vector>

#include "interfacedb/DateTime.h"
#include "interfacedb/DbError.h"
#include "interfacedb/Sqlite.h"
#include "interfacedb/access/JetValues.h"

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

// Binds the value of column `number` read as UTF-8 text and converted to its kind; for the
// driver that hands values over in that form only. Throws DbError for text that is not a value
// of the kind.
void bindFromText(SQLHSTMT statement, SQLUSMALLINT number, Kind kind, sqlite3_stmt* row, int index,
                  std::string& text) {
    const auto read = readLong<char>(statement, number, SQL_C_CHAR, true);
    if (!read) {
        if (kind == Kind::Boolean) {
            sqlite3_bind_int(row, index, 0);
        }
        return;
    }
    text = *read;
    const auto notA = [&](const char* what) {
        return DbError("'" + text + "' is not " + what + ".");
    };
    switch (kind) {
        case Kind::Boolean:
            sqlite3_bind_int(row, index, text != "0" && !text.empty() ? 1 : 0);
            return;
        case Kind::Integer: {
            long long value = 0;
            const auto [end, error] =
                std::from_chars(text.data(), text.data() + text.size(), value);
            if (error != std::errc() || end != text.data() + text.size()) {
                throw notA("a whole number");
            }
            sqlite3_bind_int64(row, index, value);
            return;
        }
        case Kind::Single:
        case Kind::Double:
        case Kind::Decimal: {
            const auto value = access::parseDecimal(text);
            if (!value) {
                throw notA("a number");
            }
            sqlite3_bind_double(row, index, *value);
            return;
        }
        case Kind::Date: {
            const auto date = DateTime::parse(text);
            if (!date) {
                throw notA("a date");
            }
            text = date->toText();
            break;
        }
        case Kind::Binary:
            sqlite3_bind_blob(row, index, text.data(), static_cast<int>(text.size()),
                              SQLITE_STATIC);
            return;
        case Kind::Text:
        case Kind::Guid:
            break;
    }
    sqlite3_bind_text(row, index, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
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

void loadTable(const AccessFile& file, const std::string& name, sqlite3* db) {
    const auto failure = [&](const std::string& why) {
        return DbError("Could not read table '" + name + "' of the Access database '" +
                       file.path() + "': " + why);
    };
    detail::Transaction transaction(db);
    std::vector<ColumnInfo> columns;
    detail::Statement insert;
    std::string column;  // the column being read, for the message of a failure
    try {
        file.readTable(
            name,
            [&](const std::vector<ColumnInfo>& described) {
                columns = described;
                std::string list;
                std::string marks;
                for (std::size_t i = 0; i < columns.size(); ++i) {
                    list += (i == 0 ? "" : ", ") + detail::quoteIdentifier(columns[i].name) + " " +
                            declaredType(columns[i]);
                    marks += i == 0 ? "?" : ", ?";
                }
                const std::string table = detail::quoteIdentifier(name);
                auto create =
                    detail::prepareSingle(db, "CREATE TABLE " + table + " (" + list + ")");
                detail::check(sqlite3_step(create.get()), db);
                insert =
                    detail::prepareSingle(db, "INSERT INTO " + table + " VALUES (" + marks + ")");
            },
            [&](SQLHSTMT statement) {
                sqlite3_stmt* row = insert.get();
                std::vector<std::string> texts(columns.size());
                for (std::size_t i = 0; i < columns.size(); ++i) {
                    column = columns[i].name;
                    const auto number = static_cast<SQLUSMALLINT>(i + 1);
                    const int index = static_cast<int>(i + 1);
                    sqlite3_bind_null(row, index);
                    if (file.valuesAsUtf8Text()) {
                        bindFromText(statement, number, kindOf(columns[i]), row, index, texts[i]);
                        continue;
                    }
                    switch (kindOf(columns[i])) {
                        case Kind::Boolean: {
                            unsigned char flag = 0;
                            // A Yes/No value is never Null in Access; a missing one is No.
                            readFixed(statement, number, SQL_C_BIT, flag);
                            sqlite3_bind_int(row, index, flag != 0 ? 1 : 0);
                            break;
                        }
                        case Kind::Integer: {
                            SQLBIGINT value = 0;
                            if (readFixed(statement, number, SQL_C_SBIGINT, value)) {
                                sqlite3_bind_int64(row, index, value);
                            }
                            break;
                        }
                        case Kind::Single: {
                            float value = 0;
                            if (readFixed(statement, number, SQL_C_FLOAT, value)) {
                                sqlite3_bind_double(row, index, static_cast<double>(value));
                            }
                            break;
                        }
                        case Kind::Double: {
                            double value = 0;
                            if (readFixed(statement, number, SQL_C_DOUBLE, value)) {
                                sqlite3_bind_double(row, index, value);
                            }
                            break;
                        }
                        case Kind::Decimal: {
                            const auto text = readLong<char>(statement, number, SQL_C_CHAR, true);
                            if (text) {
                                const auto value = access::parseDecimal(*text);
                                if (!value) {
                                    throw DbError("the amount " + *text + " is out of range.");
                                }
                                sqlite3_bind_double(row, index, *value);
                            }
                            break;
                        }
                        case Kind::Date: {
                            SQL_TIMESTAMP_STRUCT value{};
                            if (readFixed(statement, number, SQL_C_TYPE_TIMESTAMP, value)) {
                                texts[i] = dateText(value);
                                sqlite3_bind_text(row, index, texts[i].c_str(), -1, SQLITE_STATIC);
                            }
                            break;
                        }
                        case Kind::Text: {
                            const auto text =
                                readLong<wchar_t>(statement, number, SQL_C_WCHAR, true);
                            if (text) {
                                texts[i] = narrow(*text);
                                sqlite3_bind_text(row, index, texts[i].data(),
                                                  static_cast<int>(texts[i].size()), SQLITE_STATIC);
                            }
                            break;
                        }
                        case Kind::Guid: {
                            SQLGUID value{};
                            if (readFixed(statement, number, SQL_C_GUID, value)) {
                                texts[i] = guidText(value);
                                sqlite3_bind_text(row, index, texts[i].c_str(), -1, SQLITE_STATIC);
                            }
                            break;
                        }
                        case Kind::Binary: {
                            const auto bytes =
                                readLong<char>(statement, number, SQL_C_BINARY, false);
                            if (bytes) {
                                texts[i] = *bytes;
                                sqlite3_bind_blob(row, index, texts[i].data(),
                                                  static_cast<int>(texts[i].size()), SQLITE_STATIC);
                            }
                            break;
                        }
                    }
                }
                column.clear();
                const int rc = sqlite3_step(row);
                sqlite3_reset(row);
                if (rc != SQLITE_DONE) {
                    throw DbError(sqlite3_errmsg(db));
                }
            });
    } catch (const DbError& e) {
        const std::string why = e.what();
        // The file's own failure already names the file and the table.
        if (why.starts_with("Could not read table '")) {
            throw;
        }
        throw failure(column.empty() ? why : "column '" + column + "': " + why);
    }
    transaction.commit();
}

}  // namespace vantrell::db::odbc
