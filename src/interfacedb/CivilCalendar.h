#pragma once

#include <cstdint>

namespace vantrell::db {

// A date of the proleptic Gregorian calendar.
struct CivilDate {
    std::int64_t year;
    unsigned month;  // 1 to 12
    unsigned day;    // 1 to 31
};

// Howard Hinnant's days-from-civil and its inverse: days since 1970-01-01, negative before it.
// The parts are not checked (the month must be 1 to 12); neither function throws.
std::int64_t daysFromCivil(std::int64_t year, unsigned month, unsigned day);
CivilDate civilFromDays(std::int64_t days);

}  // namespace vantrell::db
