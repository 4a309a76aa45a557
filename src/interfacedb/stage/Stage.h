#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "interfacedb/Connection.h"
#include "interfacedb/DateTime.h"

namespace vantrell::stage {

// One staged time ticket as the accounting system will be asked to post it.
struct StagedTicket {
    std::int32_t sequence = 0;
    std::string name;
    std::optional<db::DateTime> date;  // nothing when the stored value is not a date
    float hours = 0;
    std::string payType;
    std::string error;           // why the accounting system refused it last time, or empty
    std::string chronelName;     // the time-and-attendance system's names it was staged from
    std::string chronelPayType;  // when a map entry replaced them; empty when none did (the
                                 // names are then name and payType: no copy of each is kept)
};

// Every ticket of Punch in Sequence order. A row whose Sequence, Name, Hours or PayType holds no
// value is read with 0 or the empty text, so that it can still be shown and never matches a
// posted ticket. Throws DbError when Punch cannot be read.
std::vector<StagedTicket> readStagedTickets(db::Connection& cn);

// The lowest and highest staged dates, or nothing when no ticket has a date. Throws DbError.
std::optional<std::pair<db::DateTime, db::DateTime>> stagedDateRange(db::Connection& cn);

// Deletes the tickets of these Sequence numbers from Punch, and the names of Employee and
// PayType that no staged ticket uses any more, all in one transaction: either all leave the
// stage or none does. Throws DbError, and then none has left.
void removeStagedTickets(db::Connection& cn, const std::vector<std::int32_t>& sequences);

// The ticket `sequence` accepted by the accounting system under `txnId`: its Sent row of export
// `exportId` in the journal is confirmed with the id and the ticket leaves Punch, in one
// transaction, so that a ticket never leaves the stage without its journal row or the other way
// round. A Sequence that Punch does not hold changes nothing. Throws DbError, and then neither
// change is kept.
void recordAcceptedTicket(db::Connection& cn, std::int64_t exportId, std::int32_t sequence,
                          const std::string& txnId);

// A ticket the accounting system accepted: its Sequence and the transaction id it was given.
struct AcceptedTicket {
    std::int32_t sequence = 0;
    std::string txnId;
};

// recordAcceptedTicket() for each of `tickets`, all in one transaction: every one is recorded
// or none is. Throws DbError, and then nothing of them is kept.
void recordAcceptedTickets(db::Connection& cn, std::int64_t exportId,
                           const std::vector<AcceptedTicket>& tickets);

}  // namespace vantrell::stage
