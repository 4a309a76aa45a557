#pragma once

// How a value read from an Access table is bound to the statement that inserts its copy, one
// function per kind of column; the libmdb reader and the ODBC reader both bind through these,
// so that a table reads back the same whichever of them copied it.

#include <sqlite3.h>

#include <cstdint>
#include <string>

namespace vantrell::db::access {

// Each binds to parameter `index` of `insert` and never throws. Text and bytes are bound
// without a copy: `text` and `bytes` must stay unchanged until the row has been stepped.

// A missing value of any kind but Yes/No.
void bindNull(sqlite3_stmt* insert, int index);

// Yes/No, as 1 or 0; a Yes/No value is never missing.
void bindBoolean(sqlite3_stmt* insert, int index, bool yes);

// Byte, Integer, Long Integer, Complex and the driver's whole numbers.
void bindInteger(sqlite3_stmt* insert, int index, std::int64_t value);

// Single, widened exactly to the engine's double.
void bindSingle(sqlite3_stmt* insert, int index, float value);

// Double.
void bindDouble(sqlite3_stmt* insert, int index, double value);

// Currency and Decimal, given as plain decimal text ("-12.3456") and stored as the nearest
// double. Returns false, binding nothing, when the text is not such a number or is too large
// for a double; the caller says why the value was refused.
[[nodiscard]] bool bindDecimal(sqlite3_stmt* insert, int index, const std::string& decimal);

// Text and Memo as UTF-8; Date/Time as "YYYY-MM-DD HH:MM:SS" and Replication ID as "{...}",
// their text forms.
void bindText(sqlite3_stmt* insert, int index, const std::string& text);

// OLE Object, Binary and kinds the engine does not know, as stored.
void bindBytes(sqlite3_stmt* insert, int index, const std::string& bytes);

}  // namespace vantrell::db::access
