#pragma once

#include <chrono>
#include <string>

namespace vantrell::sampledata {

// The day as ISO 8601 text, "YYYY-MM-DD", the form the time clock's dates are written in.
std::string isoDate(std::chrono::sys_days day);

// Saturday or Sunday.
bool isWeekend(std::chrono::sys_days day);

}  // namespace vantrell::sampledata
