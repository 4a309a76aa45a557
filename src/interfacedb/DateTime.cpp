#include "interfacedb/DateTime.h"

#include "interfacedb/CivilCalendar.h"

#include <charconv>

namespace vantrell::db {

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

bool isLeap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int daysInMonth(int y, int m) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeap(y) ? 29 : kDays[m - 1];
}

// Reads exactly `width` digits at `pos`.
std::optional<int> digits(std::string_view text, std::size_t pos, std::size_t width) {
    if (pos + width > text.size()) {
        return std::nullopt;
    }
    int value = 0;
    for (std::size_t i = pos; i < pos + width; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return std::nullopt;
        }
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

// Writes `value`, 0 or more, as exactly `width` digits with leading zeros; the parts of a date
// always fit their width.
void putDigits(char* out, std::int64_t value, int width) {
    for (int i = width - 1; i >= 0; --i) {
        out[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
}

}  // namespace

std::optional<DateTime> DateTime::fromParts(int year, int month, int day, int hour, int minute,
                                            int second) {
    if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 ||
        day > daysInMonth(year, month) || hour < 0 || hour > 23 || minute < 0 || minute > 59 ||
        second < 0 || second > 59) {
        return std::nullopt;
    }
    const std::int64_t days =
        daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
    return DateTime(days * kSecondsPerDay + hour * 3600 + minute * 60 + second);
}

std::optional<DateTime> DateTime::parse(std::string_view text) {
    const auto year = digits(text, 0, 4);
    const auto month = digits(text, 5, 2);
    const auto day = digits(text, 8, 2);
    if (!year || !month || !day || text[4] != '-' || text[7] != '-') {
        return std::nullopt;
    }
    if (text.size() == 10) {
        return fromParts(*year, *month, *day);
    }
    if (text[10] != ' ' && text[10] != 'T') {
        return std::nullopt;
    }
    const auto hour = digits(text, 11, 2);
    const auto minute = digits(text, 14, 2);
    if (!hour || !minute || text.size() < 16 || text[13] != ':') {
        return std::nullopt;
    }
    if (text.size() == 16) {
        return fromParts(*year, *month, *day, *hour, *minute);
    }
    const auto second = digits(text, 17, 2);
    if (!second || text[16] != ':') {
        return std::nullopt;
    }
    // Fractions of a second, as some tools write them, are read and dropped.
    std::size_t end = 19;
    if (end < text.size() && text[end] == '.') {
        ++end;
        while (end < text.size() && text[end] >= '0' && text[end] <= '9') {
            ++end;
        }
    }
    if (end != text.size()) {
        return std::nullopt;
    }
    return fromParts(*year, *month, *day, *hour, *minute, *second);
}

std::int64_t DateTime::daysSinceEpoch() const {
    return seconds_ >= 0 ? seconds_ / kSecondsPerDay
                         : (seconds_ - kSecondsPerDay + 1) / kSecondsPerDay;
}

std::int64_t DateTime::secondOfDay() const {
    return seconds_ - daysSinceEpoch() * kSecondsPerDay;
}

int DateTime::year() const {
    return static_cast<int>(civilFromDays(daysSinceEpoch()).year);
}
int DateTime::month() const {
    return static_cast<int>(civilFromDays(daysSinceEpoch()).month);
}
int DateTime::day() const {
    return static_cast<int>(civilFromDays(daysSinceEpoch()).day);
}

std::string DateTime::toText() const {
    return secondOfDay() == 0 ? dateText() : toStorageText();
}

// Written digit by digit: a payroll's dates are formatted hundreds of thousands of times.
std::string DateTime::toStorageText() const {
    const std::int64_t time = secondOfDay();
    std::string text = dateText();
    text.resize(19);
    text[10] = ' ';
    putDigits(&text[11], time / 3600, 2);
    text[13] = ':';
    putDigits(&text[14], time / 60 % 60, 2);
    text[16] = ':';
    putDigits(&text[17], time % 60, 2);
    return text;
}

std::string DateTime::dateText() const {
    const CivilDate c = civilFromDays(daysSinceEpoch());
    std::string text(10, '-');
    putDigits(&text[0], c.year, 4);
    putDigits(&text[5], c.month, 2);
    putDigits(&text[8], c.day, 2);
    return text;
}

}  // namespace vantrell::db
