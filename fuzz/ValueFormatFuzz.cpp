// dateToString and hoursToDuration over any input. The first byte chooses: even, the rest is the
// date text; odd, the next four bytes are the single-precision hours. Only the forms the request
// needs may come out: "yyyy-mm-dd" of the date read, "PT<h>H<m>M" worth exactly the rounded
// minutes, the empty text for an empty date, or "error".
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "FuzzSupport.h"
#include "interfacedb/DateTime.h"
#include "qblink/ValueFormat.h"

namespace vantrell::fuzzing {
namespace {

bool allDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

void checkDate(std::string_view input) {
    const std::string result = dateToString(input);
    if (input.empty()) {
        if (!result.empty()) {
            violated("an empty date gave " + result, input);
        }
        return;
    }
    if (result == "error") {
        if (db::DateTime::parse(input)) {
            violated("a date the engine reads gave error", input);
        }
        return;
    }
    const bool form = result.size() == 10 && result[4] == '-' && result[7] == '-' &&
                      allDigits(result.substr(0, 4)) && allDigits(result.substr(5, 2)) &&
                      allDigits(result.substr(8, 2));
    if (!form || !db::DateTime::parse(result) || input.substr(0, 10) != result) {
        violated("date gave " + result, input);
    }
}

void checkHours(float hours, std::string_view input) {
    const std::string result = hoursToDuration(hours);
    const double total = std::floor(static_cast<double>(hours) * 60.0 + 0.45);
    const bool fits = std::isfinite(total) && total >= std::numeric_limits<std::int32_t>::min() &&
                      total <= std::numeric_limits<std::int32_t>::max();
    if (result == "error") {
        if (fits) {
            violated("hours that fit gave error", input);
        }
        return;
    }
    const std::size_t h = result.find('H');
    const bool form = result.size() >= 6 && result.compare(0, 2, "PT") == 0 &&
                      result.back() == 'M' && h != std::string::npos;
    if (!form) {
        violated("hours gave " + result, input);
    }
    const std::string hoursPart = result.substr(2, h - 2);
    std::string minutesPart = result.substr(h + 1, result.size() - h - 2);
    const bool negative = !minutesPart.empty() && minutesPart.front() == '-';
    if (negative) {
        minutesPart.erase(0, 1);
    }
    if (!allDigits(hoursPart) || !allDigits(minutesPart) ||
        (hoursPart.size() > 1 && hoursPart.front() == '0') ||
        (minutesPart.size() > 1 && minutesPart.front() == '0')) {
        violated("hours gave " + result, input);
    }
    const long long wholeHours = std::stoll(hoursPart);
    const long long minutes = (negative ? -1 : 1) * std::stoll(minutesPart);
    if (!fits || wholeHours * 60 + minutes != static_cast<long long>(total) ||
        (wholeHours > 0 && (minutes < 0 || minutes >= 60)) || (negative && wholeHours != 0)) {
        violated("hours gave " + result + " for " + std::to_string(hours), input);
    }
}

}  // namespace
}  // namespace vantrell::fuzzing

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    if (size == 0) {
        return 0;
    }
    if ((data[0] & 1) == 0) {
        vantrell::fuzzing::checkDate(input.substr(1));
    } else if (size >= 5) {
        float hours = 0;
        std::memcpy(&hours, data + 1, sizeof hours);
        vantrell::fuzzing::checkHours(hours, input);
    }
    return 0;
}
