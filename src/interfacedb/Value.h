#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include "interfacedb/DateTime.h"

namespace vantrell::db {

// A field's value, typed as its column: Null, Boolean, Integer, Single, Double, Text or Date.
// The conversions behave as the engine's callers expect of a Variant: Null converts to nothing
// ("Invalid use of Null"), text converts to a number only when it is one ("Type mismatch").
class Value {
  public:
    enum class Kind { Null, Boolean, Integer, Single, Double, Text, Date };

    Value() = default;
    Value(bool b) : data_(b) {}
    Value(int i) : data_(static_cast<std::int64_t>(i)) {}
    Value(std::int64_t i) : data_(i) {}
    Value(float f) : data_(f) {}
    Value(double d) : data_(d) {}
    Value(std::string s) : data_(std::move(s)) {}
    Value(const char* s) : data_(std::string(s)) {}
    Value(DateTime d) : data_(d) {}

    Kind kind() const { return static_cast<Kind>(data_.index()); }
    bool isNull() const { return kind() == Kind::Null; }

    // Text form: numbers in plain decimal (shortest form that reads back), Booleans as "True"
    // or "False", dates as DateTime::toText(). Throws on Null.
    std::string toText() const;
    // Throws on Null, on text that is not a number, and when the value does not fit.
    float toSingle() const;
    double toDouble() const;
    // Rounds half to even, as the engine's integer conversion does.
    std::int32_t toLong() const;
    std::int64_t toInteger() const;
    // Numbers: non-zero is true; text: "True"/"False" or a number.
    bool toBoolean() const;
    // Dates as they are; text in DateTime::parse() form.
    DateTime toDate() const;

    bool operator==(const Value&) const = default;

  private:
    std::variant<std::monostate, bool, std::int64_t, float, double, std::string, DateTime> data_;
};

}  // namespace vantrell::db
