#pragma once

#include <string>
#include <string_view>

#include "interfacedb/Value.h"

namespace vantrell::db {

// The catalog's data-type codes that the program uses.
enum class DataTypeCode : int {
    Integer = 3,        // 4-byte signed integer
    Single = 4,         // single-precision floating point
    Double = 5,         // double-precision floating point
    Date = 7,           // date and time
    Boolean = 11,       // Yes/No
    VarWChar = 202,     // variable-length Unicode text with a defined size
    LongVarWChar = 203  // memo text
};

// What a column holds, as the engine gives it meaning on read and write.
struct ColumnType {
    enum class Kind { Any, Boolean, Integer, Single, Double, Text, Date };
    Kind kind = Kind::Any;
    int size = 0;  // characters for Text; 0 means no limit
};

// The declared SQLite column type for a catalog type code and defined size. Throws DbError for
// a code the engine does not support, and for a VarWChar size outside 1 to 255.
std::string declaredTypeFor(int typeCode, int definedSize);

// The column type that a declared SQLite type stands for. Tolerant: files written by other
// tools use DATE, DATETIME, REAL, INTEGER, TEXT and so on. An empty or unknown type is Any;
// never throws.
ColumnType columnTypeFromDeclared(std::string_view declaredType);

// `value` converted to what a column of `type` stores. Throws DbError when it does not convert,
// does not fit (text longer than the defined size is refused, never cut) or is not finite.
// Null stays Null in any column; a column of Kind::Any takes the value as it is.
Value coerceForColumn(const Value& value, const ColumnType& type);

// Number of characters in UTF-8 text: every byte that does not continue a character counts
// one. The text is not checked; never throws.
std::size_t utf8Length(std::string_view text);

}  // namespace vantrell::db
