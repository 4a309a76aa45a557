#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantrell::db {

// A calendar date with a time of day to the second, years 100 to 9999 as the Jet engine holds
// them. Nothing here throws.
class DateTime {
  public:
    // The date, or nothing when the pieces do not make a valid date and time.
    static std::optional<DateTime> fromParts(int year, int month, int day, int hour = 0,
                                             int minute = 0, int second = 0);

    // Reads "YYYY-MM-DD", optionally followed by a space or "T" and "HH:MM" or "HH:MM:SS".
    // Nothing when the text is not such a date.
    // Fractions of a second after "SS" (".123") are read and dropped; nothing else may follow.
    static std::optional<DateTime> parse(std::string_view text);

    // The parts: year 100 to 9999, month 1 to 12, day 1 to 31, hour 0 to 23.
    int year() const;
    int month() const;
    int day() const;
    int hour() const { return static_cast<int>(secondOfDay() / 3600); }
    int minute() const { return static_cast<int>(secondOfDay() / 60 % 60); }
    int second() const { return static_cast<int>(secondOfDay() % 60); }

    // "YYYY-MM-DD", with " HH:MM:SS" added when the time of day is not midnight. This is the
    // text form of a date throughout the program; parse() reads it back.
    std::string toText() const;

    // "YYYY-MM-DD HH:MM:SS": the form stored in the interface database.
    std::string toStorageText() const;

    // "YYYY-MM-DD", the date alone: the form of a transaction date.
    std::string dateText() const;

    // The earlier date and time is the lesser.
    auto operator<=>(const DateTime&) const = default;

  private:
    explicit DateTime(std::int64_t seconds) : seconds_(seconds) {}
    std::int64_t daysSinceEpoch() const;
    std::int64_t secondOfDay() const;

    std::int64_t seconds_ = 0;  // since 1970-01-01 00:00:00, proleptic Gregorian
};

}  // namespace vantrell::db
