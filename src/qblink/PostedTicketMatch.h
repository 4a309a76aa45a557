#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "interfacedb/stage/PostingJournal.h"
#include "interfacedb/stage/Stage.h"

namespace vantrell {

// A time ticket the accounting system already holds, as its query answer gives it.
struct PostedTimeTicket {
    std::string txnId;
    std::string employee;                 // the employee's full name
    std::string date;                     // yyyy-mm-dd
    std::string wageItem;                 // the wage payroll item's full name
    std::optional<std::int64_t> minutes;  // nothing when the duration does not read
};

// A staged ticket that the accounting system holds with other hours.
struct ChangedTicket {
    stage::StagedTicket staged;
    std::optional<std::int64_t> stagedMinutes;  // nothing when its hours cannot be written
    std::vector<std::optional<std::int64_t>> postedMinutes;  // each such ticket's hours there
};

// What matchPostedTickets found: staged tickets already posted, and staged tickets posted
// with other hours, each list in the order the staged tickets were given.
struct TicketMatch {
    std::vector<std::int32_t> alreadyPosted;  // Sequence numbers of staged tickets found posted
    std::vector<std::string> alreadyPostedTxnIds;  // the TxnID each one was paired with
    std::vector<ChangedTicket> changed;
};

// For the posted tickets the journal holds, by TxnID: the time-and-attendance names they were
// staged from.
using JournalNames = std::unordered_map<std::string, stage::ChronelNames>;

// Pairs staged tickets with posted ones: a posted ticket of `journalNames` first with a staged
// ticket staged from the same time-and-attendance names (same date and minutes), whatever names
// the map gave either; then same employee and wage item (without letter case, as
// the accounting system compares names), same date, same duration in whole minutes (the staged
// hours as the request writes them). Each posted ticket pairs with at most one staged ticket,
// in Sequence order (the alreadyPosted lists too). An unpaired staged ticket whose employee, date
// and wage item an unpaired posted ticket shares is a changed ticket. A staged ticket without a
// date is in neither list. Never throws.
TicketMatch matchPostedTickets(const std::vector<stage::StagedTicket>& staged,
                               const std::vector<PostedTimeTicket>& posted,
                               const JournalNames& journalNames = {});

// The whole minutes of a qbXML duration ("PT8H0M", "PT7H30M0S", "PT0H-90M", "P1DT2H"), cut
// toward zero; nothing when the text is not such a duration or does not fit.
std::optional<std::int64_t> durationMinutes(std::string_view duration);

// Minutes as decimal hours for a list line: "8", "7.5", "0.25", at most two decimals.
std::string hoursText(std::int64_t minutes);

}  // namespace vantrell
