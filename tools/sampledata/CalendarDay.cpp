#include "sampledata/CalendarDay.h"

#include <cstdio>

namespace vantrell::sampledata {

std::string isoDate(std::chrono::sys_days day) {
    const std::chrono::year_month_day ymd(day);
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(ymd.year()),
                  static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()));
    return text;
}

bool isWeekend(std::chrono::sys_days day) {
    const std::chrono::weekday wd(day);
    return wd == std::chrono::Saturday || wd == std::chrono::Sunday;
}

}  // namespace vantrell::sampledata
