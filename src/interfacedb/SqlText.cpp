#include "interfacedb/SqlText.h"

#include <charconv>
#include <cstdint>

namespace vantrell::db {

std::string escapeSqlText(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size() + 2);
    for (char c : text) {
        escaped += c;
        if (c == '\'') {
            escaped += '\'';
        }
    }
    return escaped;
}

std::optional<std::string> plainDecimal(std::string_view text) {
    std::string_view digits = text;
    if (!digits.empty() && digits.front() == '-') {
        digits.remove_prefix(1);
    }
    if (digits.empty() || digits.size() > 10) {
        return std::nullopt;
    }
    for (char c : digits) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
    }
    std::int64_t value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    if (value < INT32_MIN || value > INT32_MAX) {
        return std::nullopt;
    }
    return std::string(text);
}

}  // namespace vantrell::db
