#pragma once

#include <cstdint>
#include <optional>

#include "standins/CompanyFile.h"
#include "standins/QbxmlRequests.h"
#include "standins/ResponseStatus.h"

namespace vantrell::standins {

struct PostingResult {
    ResponseStatus status;
    std::optional<PostedTicket> posted;  // set when the ticket was stored
};

// Converts and checks one TimeTrackingAdd and stores it when the accounting system would:
// a TxnDate that is not a date is refused with 3020 (an absent or empty one means today), a
// Duration that is not an interval with 3035, an IsBillable that is not a boolean with 3010,
// Notes over 4095 characters with 3070; a reference to an employee or wage item that the file
// does not hold, or holds inactive, with 3140, and so is any customer, service item or class,
// since the file holds none. Throws CompanyFileError when the file cannot be read or written.
PostingResult postTimeTracking(const TimeTrackingAddRequest& request, CompanyFile& file,
                               std::int64_t now);

}  // namespace vantrell::standins
