#include "interfacedb/access/ValueBinding.h"

#include "interfacedb/access/JetValues.h"

namespace vantrell::db::access {

void bindNull(sqlite3_stmt* insert, int index) {
    sqlite3_bind_null(insert, index);
}

void bindBoolean(sqlite3_stmt* insert, int index, bool yes) {
    sqlite3_bind_int(insert, index, yes ? 1 : 0);
}

void bindInteger(sqlite3_stmt* insert, int index, std::int64_t value) {
    sqlite3_bind_int64(insert, index, value);
}

void bindSingle(sqlite3_stmt* insert, int index, float value) {
    sqlite3_bind_double(insert, index, static_cast<double>(value));
}

void bindDouble(sqlite3_stmt* insert, int index, double value) {
    sqlite3_bind_double(insert, index, value);
}

bool bindDecimal(sqlite3_stmt* insert, int index, const std::string& decimal) {
    const auto value = parseDecimal(decimal);
    if (!value) {
        return false;
    }
    sqlite3_bind_double(insert, index, *value);
    return true;
}

void bindText(sqlite3_stmt* insert, int index, const std::string& text) {
    sqlite3_bind_text(insert, index, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
}

void bindBytes(sqlite3_stmt* insert, int index, const std::string& bytes) {
    sqlite3_bind_blob(insert, index, bytes.data(), static_cast<int>(bytes.size()), SQLITE_STATIC);
}

}  // namespace vantrell::db::access
