#include "interfacedb/Value.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "interfacedb/DbError.h"

namespace vantrell::db {

namespace {

[[noreturn]] void invalidUseOfNull() {
    throw DbError("Invalid use of Null");
}
[[noreturn]] void typeMismatch() {
    throw DbError("Type mismatch");
}
[[noreturn]] void overflow() {
    throw DbError("Overflow");
}

std::string_view trim(std::string_view text) {
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && isSpace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// A number written in plain decimal or scientific notation, independent of the locale.
double parseNumber(std::string_view text) {
    text = trim(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        typeMismatch();
    }
    if (!std::isfinite(value)) {
        overflow();
    }
    return value;
}

template <class Number>
std::string shortest(Number n) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, n);
    return std::string(buffer, result.ptr);
}

}  // namespace

std::string Value::toText() && {
    if (kind() == Kind::Text) {
        return std::move(std::get<std::string>(data_));
    }
    return static_cast<const Value&>(*this).toText();
}

std::string Value::toText() const& {
    switch (kind()) {
        case Kind::Null:
            invalidUseOfNull();
        case Kind::Boolean:
            return std::get<bool>(data_) ? "True" : "False";
        case Kind::Integer:
            return std::to_string(std::get<std::int64_t>(data_));
        case Kind::Single:
            return shortest(std::get<float>(data_));
        case Kind::Double:
            return shortest(std::get<double>(data_));
        case Kind::Text:
            return std::get<std::string>(data_);
        case Kind::Date:
            return std::get<DateTime>(data_).toText();
    }
    return {};
}

double Value::toDouble() const {
    switch (kind()) {
        case Kind::Null:
            invalidUseOfNull();
        case Kind::Boolean:
            return std::get<bool>(data_) ? -1.0 : 0.0;
        case Kind::Integer:
            return static_cast<double>(std::get<std::int64_t>(data_));
        case Kind::Single:
            return static_cast<double>(std::get<float>(data_));
        case Kind::Double:
            return std::get<double>(data_);
        case Kind::Text:
            return parseNumber(std::get<std::string>(data_));
        case Kind::Date:
            typeMismatch();
    }
    return 0;
}

float Value::toSingle() const {
    if (kind() == Kind::Single) {
        return std::get<float>(data_);
    }
    const double d = toDouble();
    if (!std::isfinite(d) ||
        std::fabs(d) > static_cast<double>(std::numeric_limits<float>::max())) {
        overflow();
    }
    return static_cast<float>(d);
}

std::int64_t Value::toInteger() const {
    if (kind() == Kind::Integer) {
        return std::get<std::int64_t>(data_);
    }
    const double d = std::nearbyint(toDouble());  // default rounding: half to even
    if (!std::isfinite(d) || d < -9.2e18 || d > 9.2e18) {
        overflow();
    }
    return static_cast<std::int64_t>(d);
}

std::int32_t Value::toLong() const {
    const std::int64_t i = toInteger();
    if (i < std::numeric_limits<std::int32_t>::min() ||
        i > std::numeric_limits<std::int32_t>::max()) {
        overflow();
    }
    return static_cast<std::int32_t>(i);
}

bool Value::toBoolean() const {
    switch (kind()) {
        case Kind::Null:
            invalidUseOfNull();
        case Kind::Boolean:
            return std::get<bool>(data_);
        case Kind::Text: {
            std::string text(trim(std::get<std::string>(data_)));
            std::transform(text.begin(), text.end(), text.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            if (text == "true") {
                return true;
            }
            if (text == "false") {
                return false;
            }
            return parseNumber(text) != 0.0;
        }
        case Kind::Date:
            typeMismatch();
        default:
            return toDouble() != 0.0;
    }
}

DateTime Value::toDate() const {
    switch (kind()) {
        case Kind::Null:
            invalidUseOfNull();
        case Kind::Date:
            return std::get<DateTime>(data_);
        case Kind::Text:
            if (auto date = DateTime::parse(trim(std::get<std::string>(data_)))) {
                return *date;
            }
            typeMismatch();
        default:
            typeMismatch();
    }
}

}  // namespace vantrell::db
