#pragma once

#include <string>

namespace vantrell {

struct LocalDateTime {
    int year = 1970;
    int month = 1;   // 1-12
    int day = 1;     // 1-31
    int hour = 0;    // 0-23
    int minute = 0;  // 0-59
    int second = 0;  // 0-59
};

// The current local date and time.
class Clock {
  public:
    virtual ~Clock() = default;
    // The date and time now, in the local time zone. Never throws.
    virtual LocalDateTime now() = 0;
};

// The machine's own clock.
class SystemClock final : public Clock {
  public:
    // The system time in the local time zone. Never throws.
    LocalDateTime now() override;
};

// The log's timestamp: "mm/dd/yyyy hh:m am " with a 12-hour hour and the minute unpadded,
// ending in one space.
std::string formatLogTimestamp(const LocalDateTime& t);

}  // namespace vantrell
