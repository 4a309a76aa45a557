#include "diag/Clock.h"

#include <ctime>

namespace vantrell {

LocalDateTime SystemClock::now() {
    const std::time_t seconds = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &seconds);
#else
    localtime_r(&seconds, &local);
#endif
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
}

namespace {

std::string twoDigits(int n) {
    std::string s = std::to_string(n);
    return s.size() < 2 ? "0" + s : s;
}

}  // namespace

std::string formatLogTimestamp(const LocalDateTime& t) {
    const int hour12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
    std::string year = std::to_string(t.year);
    while (year.size() < 4) {
        year.insert(0, "0");
    }
    return twoDigits(t.month) + "/" + twoDigits(t.day) + "/" + year + " " + twoDigits(hour12) +
           ":" + std::to_string(t.minute) + " " + (t.hour < 12 ? "am" : "pm") + " ";
}

}  // namespace vantrell
