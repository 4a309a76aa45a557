#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The forms qbXML gives a transaction date and a duration, for the requests and for matching
// what the accounting system answers.

namespace vantrell {

// A date's text form (as Value::toText() renders a date: "YYYY-MM-DD", with or without
// " HH:MM:SS") written as yyyy-mm-dd for a transaction date. The empty text gives the empty
// text; any other text that is not such a date gives "error". Never throws, logs nothing.
std::string dateToString(std::string_view strDate);

// The whole minutes of decimal hours as a request writes them: floor(hours * 60 + 0.45);
// nothing when they do not fit a 32-bit signed number or the hours are not finite.
std::optional<std::int32_t> hoursToMinutes(float sngHours);

// Decimal hours as a duration "PT<h>H<m>M": total minutes = floor(hours * 60 + 0.45), whole
// hours taken out while 60 or more minutes remain. Negative hours keep 0 hours ("PT0H-90M").
// "error" when the minutes do not fit a 32-bit signed number or the hours are not finite.
// Never throws, logs nothing.
std::string hoursToDuration(float sngHours);

}  // namespace vantrell
