#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantrell::standins {

// A time interval of the form [+-]PT[nH][nM][nS] with at least one part, in seconds; nothing
// when the text has another form or a part too large to hold.
std::optional<std::int64_t> parseDuration(std::string_view text);

// Seconds as the accounting system writes an interval: "PT7H30M0S", "-PT1H30M0S".
std::string formatDuration(std::int64_t seconds);

// A calendar date YYYY-MM-DD (a time-zone suffix Z or +hh:mm is allowed and dropped), as
// "YYYY-MM-DD"; nothing when the text is not such a date or names a day that does not exist.
std::optional<std::string> parseDate(std::string_view text);

// A date or date-time bound of a modified-date filter (YYYY-MM-DD[Thh[:mm[:ss[+hh:mm]]]]) as
// seconds since 1970 UTC; a text without a time-zone is taken as UTC. A bound that names only a
// day means the day's first second, or its last when `endOfDay`. Nothing when malformed.
std::optional<std::int64_t> parseDateTimeBound(std::string_view text, bool endOfDay);

// Seconds since 1970 as a time stamp "YYYY-MM-DDThh:mm:ss+00:00".
std::string formatTimestamp(std::int64_t unixSeconds);

// The UTC day of a moment, "YYYY-MM-DD".
std::string formatDay(std::int64_t unixSeconds);

// A boolean value: "true", "false", "1" or "0"; nothing otherwise.
std::optional<bool> parseBoolean(std::string_view text);

// A whole number of decimal digits, at most nine; nothing otherwise.
std::optional<std::int64_t> parseCount(std::string_view text);

}  // namespace vantrell::standins
