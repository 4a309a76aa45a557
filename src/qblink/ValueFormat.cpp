#include "qblink/ValueFormat.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "interfacedb/DateTime.h"

namespace vantrell {

std::string dateToString(std::string_view strDate) {
    if (strDate.empty()) {
        return {};
    }
    const auto date = db::DateTime::parse(strDate);
    return date ? date->dateText() : "error";
}

std::optional<std::int32_t> hoursToMinutes(float sngHours) {
    const double total = std::floor(static_cast<double>(sngHours) * 60.0 + 0.45);
    if (!std::isfinite(total) || total < std::numeric_limits<std::int32_t>::min() ||
        total > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(total);
}

std::string hoursToDuration(float sngHours) {
    const std::optional<std::int32_t> total = hoursToMinutes(sngHours);
    if (!total) {
        return "error";
    }
    std::int32_t minutes = *total;
    std::int32_t hours = 0;
    if (minutes >= 60) {
        hours = minutes / 60;
        minutes %= 60;
    }
    return "PT" + std::to_string(hours) + "H" + std::to_string(minutes) + "M";
}

}  // namespace vantrell
