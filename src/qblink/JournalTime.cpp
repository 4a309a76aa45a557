#include "qblink/JournalTime.h"

namespace vantrell {

db::DateTime journalNow(modErrorLog& log) {
    const LocalDateTime now = log.clock().now();
    // A clock outside the engine's calendar is recorded as its first day rather than lost.
    return db::DateTime::fromParts(now.year, now.month, now.day, now.hour, now.minute, now.second)
        .value_or(*db::DateTime::fromParts(100, 1, 1));
}

}  // namespace vantrell
