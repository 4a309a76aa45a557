#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include "interfacedb/DateTime.h"

namespace vantrell::db {

// A field's value, typed as its column: Null, Boolean, Integer, Single, Double, Text or Date.
// The conversions behave as the engine's callers expect of a Variant: Null converts to nothing
// ("Invalid use of Null"), text converts to a number only when it is one ("Type mismatch").
// A conversion that fails throws DbError with that description; nothing else here throws.
class Value {
  public:
    enum class Kind { Null, Boolean, Integer, Single, Double, Text, Date };

    // Null; otherwise a value of its argument's kind, an int held as Integer and a C string
    // as Text.
    Value() = default;
    Value(bool b) : data_(b) {}
    Value(int i) : data_(static_cast<std::int64_t>(i)) {}
    Value(std::int64_t i) : data_(i) {}
    Value(float f) : data_(f) {}
    Value(double d) : data_(d) {}
    Value(std::string s) : data_(std::move(s)) {}
    Value(const char* s) : data_(std::string(s)) {}
    Value(DateTime d) : data_(d) {}

    // The kind the value was made with.
    Kind kind() const { return static_cast<Kind>(data_.index()); }
    bool isNull() const { return kind() == Kind::Null; }

    // Text form: numbers in plain decimal (shortest form that reads back), Booleans as "True"
    // or "False", dates as DateTime::toText(). Throws on Null.
    std::string toText() const&;
    // The same; a Text value hands its text over instead of copying it.
    std::string toText() &&;
    // Throws on Null, on text that is not a number, and when the value does not fit.
    // True converts to -1 and False to 0; a date does not convert ("Type mismatch").
    float toSingle() const;
    double toDouble() const;
    // Rounds half to even, as the engine's integer conversion does. Throws as toDouble() does,
    // and "Overflow" outside a 32-bit signed number (toLong) or beyond ±9.2e18 (toInteger).
    std::int32_t toLong() const;
    std::int64_t toInteger() const;
    // Numbers: non-zero is true; text: "True"/"False" in any letter case, or a number, blanks
    // around it ignored. Throws on Null, on a date and on other text.
    bool toBoolean() const;
    // Dates as they are; text in DateTime::parse() form, blanks around it ignored. Throws on
    // Null and on anything else.
    DateTime toDate() const;

    // A Text value's own text, without a copy (valid while the value is unchanged); nothing
    // for the other kinds.
    const std::string* textIf() const noexcept { return std::get_if<std::string>(&data_); }

    // Equal when both kind and value are: Integer 1 differs from Double 1 and from "1".
    bool operator==(const Value&) const = default;

  private:
    std::variant<std::monostate, bool, std::int64_t, float, double, std::string, DateTime> data_;
};

}  // namespace vantrell::db
