#pragma once

#include "diag/modErrorLog.h"
#include "interfacedb/DateTime.h"

namespace vantrell {

// The local time the posting journal records, from the clock the log is stamped with. Never
// throws: a reading that is no valid date and time of the years 100 to 9999 is recorded as
// 0100-01-01 00:00:00.
db::DateTime journalNow(modErrorLog& log);

}  // namespace vantrell
