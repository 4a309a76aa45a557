#include "standins/QbxmlValues.h"

#include <chrono>
#include <cstdio>

namespace vantrell::standins {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads exactly `width` digits at `pos`, or 1 to `width` digits when `exact` is false.
std::optional<int> readNumber(std::string_view text, std::size_t& pos, std::size_t width,
                              bool exact) {
    std::size_t end = pos;
    while (end < text.size() && end - pos < width && isDigit(text[end])) {
        ++end;
    }
    if (end == pos || (exact && end - pos != width)) {
        return std::nullopt;
    }
    int value = 0;
    for (std::size_t i = pos; i < end; ++i) {
        value = value * 10 + (text[i] - '0');
    }
    pos = end;
    return value;
}

bool expect(std::string_view text, std::size_t& pos, char c) {
    if (pos < text.size() && text[pos] == c) {
        ++pos;
        return true;
    }
    return false;
}

std::optional<std::chrono::sys_days> makeDay(int year, int month, int day) {
    const std::chrono::year_month_day ymd{std::chrono::year{year},
                                          std::chrono::month{static_cast<unsigned>(month)},
                                          std::chrono::day{static_cast<unsigned>(day)}};
    if (year < 1 || !ymd.ok()) {
        return std::nullopt;
    }
    return std::chrono::sys_days{ymd};
}

// Z, or +hh:mm / -hh:mm, as seconds east of UTC.
std::optional<int> readZone(std::string_view text, std::size_t& pos) {
    if (expect(text, pos, 'Z')) {
        return 0;
    }
    if (pos >= text.size() || (text[pos] != '+' && text[pos] != '-')) {
        return std::nullopt;
    }
    const int sign = text[pos] == '-' ? -1 : 1;
    ++pos;
    const auto hours = readNumber(text, pos, 2, false);
    if (!hours || !expect(text, pos, ':')) {
        return std::nullopt;
    }
    const auto minutes = readNumber(text, pos, 2, false);
    if (!minutes || *hours > 14 || *minutes > 59) {
        return std::nullopt;
    }
    return sign * (*hours * 3600 + *minutes * 60);
}

}  // namespace

std::optional<std::int64_t> parseDuration(std::string_view text) {
    std::size_t pos = 0;
    std::int64_t sign = 1;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        sign = text[0] == '-' ? -1 : 1;
        ++pos;
    }
    if (text.substr(pos, 2) != "PT") {
        return std::nullopt;
    }
    pos += 2;
    static constexpr struct {
        char unit;
        std::int64_t seconds;
    } kParts[] = {{'H', 3600}, {'M', 60}, {'S', 1}};
    std::int64_t total = 0;
    bool anyPart = false;
    for (const auto& part : kParts) {
        std::size_t end = pos;
        while (end < text.size() && isDigit(text[end])) {
            ++end;
        }
        if (end == pos || end >= text.size() || text[end] != part.unit) {
            continue;
        }
        if (end - pos > 9) {
            return std::nullopt;
        }
        std::int64_t value = 0;
        for (std::size_t i = pos; i < end; ++i) {
            value = value * 10 + (text[i] - '0');
        }
        total += value * part.seconds;
        anyPart = true;
        pos = end + 1;
    }
    if (!anyPart || pos != text.size()) {
        return std::nullopt;
    }
    return sign * total;
}

std::string formatDuration(std::int64_t seconds) {
    const bool negative = seconds < 0;
    const std::int64_t magnitude = negative ? -seconds : seconds;
    return std::string(negative ? "-" : "") + "PT" + std::to_string(magnitude / 3600) + "H" +
           std::to_string(magnitude % 3600 / 60) + "M" + std::to_string(magnitude % 60) + "S";
}

std::optional<std::string> parseDate(std::string_view text) {
    std::size_t pos = 0;
    const auto year = readNumber(text, pos, 4, true);
    if (!year || !expect(text, pos, '-')) {
        return std::nullopt;
    }
    const auto month = readNumber(text, pos, 2, true);
    if (!month || !expect(text, pos, '-')) {
        return std::nullopt;
    }
    const auto day = readNumber(text, pos, 2, true);
    if (!day || !makeDay(*year, *month, *day)) {
        return std::nullopt;
    }
    if (pos < text.size() && (!readZone(text, pos) || pos != text.size())) {
        return std::nullopt;
    }
    return std::string(text.substr(0, 10));
}

std::optional<std::int64_t> parseDateTimeBound(std::string_view text, bool endOfDay) {
    std::size_t pos = 0;
    const auto year = readNumber(text, pos, 4, true);
    if (!year || !expect(text, pos, '-')) {
        return std::nullopt;
    }
    const auto month = readNumber(text, pos, 2, false);
    if (!month || !expect(text, pos, '-')) {
        return std::nullopt;
    }
    const auto day = readNumber(text, pos, 2, false);
    const auto date = day ? makeDay(*year, *month, *day) : std::nullopt;
    if (!date) {
        return std::nullopt;
    }
    std::int64_t seconds = std::chrono::sys_seconds{*date}.time_since_epoch().count();
    if (pos == text.size()) {
        return seconds + (endOfDay ? 86399 : 0);
    }
    if (!expect(text, pos, 'T')) {
        return std::nullopt;
    }
    int clock[3] = {0, 0, 0};
    static constexpr int kLimits[3] = {23, 59, 59};
    for (int part = 0; part < 3; ++part) {
        if (part > 0 && !expect(text, pos, ':')) {
            break;
        }
        const auto value = readNumber(text, pos, 2, false);
        if (!value || *value > kLimits[part]) {
            return std::nullopt;
        }
        clock[part] = *value;
    }
    seconds += clock[0] * 3600 + clock[1] * 60 + clock[2];
    if (pos < text.size()) {
        const auto zone = readZone(text, pos);
        if (!zone || pos != text.size()) {
            return std::nullopt;
        }
        seconds -= *zone;
    }
    return seconds;
}

std::string formatTimestamp(std::int64_t unixSeconds) {
    const std::chrono::sys_seconds moment{std::chrono::seconds{unixSeconds}};
    const auto day = std::chrono::floor<std::chrono::days>(moment);
    const std::chrono::hh_mm_ss clock{moment - day};
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%sT%02d:%02d:%02d+00:00", formatDay(unixSeconds).c_str(),
                  static_cast<int>(clock.hours().count()),
                  static_cast<int>(clock.minutes().count()),
                  static_cast<int>(clock.seconds().count()));
    return buffer;
}

std::string formatDay(std::int64_t unixSeconds) {
    const std::chrono::sys_seconds moment{std::chrono::seconds{unixSeconds}};
    const std::chrono::year_month_day ymd{std::chrono::floor<std::chrono::days>(moment)};
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04d-%02u-%02u", static_cast<int>(ymd.year()),
                  static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()));
    return buffer;
}

std::optional<bool> parseBoolean(std::string_view text) {
    if (text == "true" || text == "1") {
        return true;
    }
    if (text == "false" || text == "0") {
        return false;
    }
    return std::nullopt;
}

std::optional<std::int64_t> parseCount(std::string_view text) {
    if (text.empty() || text.size() > 9) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    for (const char c : text) {
        if (!isDigit(c)) {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

}  // namespace vantrell::standins
