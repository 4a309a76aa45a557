#include "interfacedb/ColumnType.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

#include "interfacedb/DbError.h"

namespace vantrell::db {

namespace {

std::string upper(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return out;
}

bool contains(const std::string& haystack, std::string_view needle) {
    return haystack.find(needle) != std::string::npos;
}

int sizeInParentheses(const std::string& declared) {
    const auto open = declared.find('(');
    if (open == std::string::npos) {
        return 0;
    }
    int size = 0;
    const char* begin = declared.data() + open + 1;
    std::from_chars(begin, declared.data() + declared.size(), size);
    return size > 0 ? size : 0;
}

}  // namespace

std::string declaredTypeFor(int typeCode, int definedSize) {
    switch (static_cast<DataTypeCode>(typeCode)) {
        case DataTypeCode::Integer:
            return "INTEGER";
        case DataTypeCode::Single:
            return "FLOAT4";
        case DataTypeCode::Double:
            return "DOUBLE";
        case DataTypeCode::Date:
            return "DATETIME";
        case DataTypeCode::Boolean:
            return "BOOLEAN";
        case DataTypeCode::VarWChar:
            if (definedSize <= 0 || definedSize > 255) {
                throw DbError("Invalid defined size " + std::to_string(definedSize) +
                              " for a text column");
            }
            return "VARCHAR(" + std::to_string(definedSize) + ")";
        case DataTypeCode::LongVarWChar:
            return "TEXT";
    }
    throw DbError("Type is invalid: data-type code " + std::to_string(typeCode));
}

ColumnType columnTypeFromDeclared(std::string_view declaredType) {
    const std::string d = upper(declaredType);
    using K = ColumnType::Kind;
    if (d.empty()) {
        return {K::Any, 0};
    }
    if (contains(d, "BOOL") || contains(d, "BIT") || contains(d, "YESNO")) {
        return {K::Boolean, 0};
    }
    if (contains(d, "DATE") || contains(d, "TIME")) {
        return {K::Date, 0};
    }
    if (contains(d, "FLOAT4") || contains(d, "SINGLE") || contains(d, "REAL4")) {
        return {K::Single, 0};
    }
    if (contains(d, "INT")) {
        return {K::Integer, 0};
    }
    if (contains(d, "CHAR") || contains(d, "TEXT") || contains(d, "CLOB") || contains(d, "MEMO")) {
        return {K::Text, sizeInParentheses(d)};
    }
    if (contains(d, "REAL") || contains(d, "FLOA") || contains(d, "DOUB") || contains(d, "NUM") ||
        contains(d, "DEC") || contains(d, "CURRENCY")) {
        return {K::Double, 0};
    }
    return {K::Any, 0};
}

std::size_t utf8Length(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

Value coerceForColumn(const Value& value, const ColumnType& type) {
    if (value.isNull()) {
        return value;
    }
    using K = ColumnType::Kind;
    switch (type.kind) {
        case K::Any:
            return value;
        case K::Boolean:
            return Value(value.toBoolean());
        case K::Integer:
            return Value(value.toLong());
        case K::Single: {
            const float f = value.toSingle();
            if (!std::isfinite(f)) {
                throw DbError("Overflow");
            }
            return Value(f);
        }
        case K::Double: {
            const double d = value.toDouble();
            if (!std::isfinite(d)) {
                throw DbError("Overflow");
            }
            return Value(d);
        }
        case K::Date:
            return Value(value.toDate());
        case K::Text: {
            std::string text = value.toText();
            if (type.size > 0 && utf8Length(text) > static_cast<std::size_t>(type.size)) {
                throw DbError(
                    "The field is too small to accept the amount of data you attempted to add.  "
                    "Try inserting or pasting less data.");
            }
            return Value(std::move(text));
        }
    }
    return value;
}

}  // namespace vantrell::db
