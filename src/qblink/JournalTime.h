#pragma once

#include "diag/modErrorLog.h"
#include "interfacedb/DateTime.h"

namespace vantrell {

// The local time the posting journal records, from the clock the log is stamped with.
db::DateTime journalNow(modErrorLog& log);

}  // namespace vantrell
