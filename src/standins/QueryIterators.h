#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "standins/CompanyRecords.h"
#include "standins/ListEntryCache.h"

namespace vantrell::standins {

// The filters of a time-tracking query, converted.
struct TicketFilter {
    TicketSelection selection;
    std::optional<std::set<std::string>> employees;  // ListIDs; absent selects every employee
    std::optional<std::int64_t> maxReturned;
};

// A time-tracking query handed out over several answers: its filters, with the position after
// the last ticket returned (selection.after), and how many tickets it is expected to return yet.
// The next page reads on from that position in TxnDate, then TxnNumber order, so that a ticket
// is neither returned twice nor passed over when the file does not change in between.
struct TicketIterator {
    TicketFilter filter;
    std::int64_t remaining = 0;
    // The employees and wage items its pages name, read once for all of them.
    NamedEntries entries;
};

// The query iterators of one session, by iteratorID. They are valid only for the session that
// started them: the session clears them when it ends.
class QueryIterators {
  public:
    // Keeps `iterator` under a new iteratorID, which it returns.
    std::string start(TicketIterator iterator);
    // The iterator of this id; nullptr when there is none (never started, stopped, run to its
    // end, or of another session).
    TicketIterator* find(const std::string& iteratorId);
    void stop(const std::string& iteratorId);
    void clear() { iterators_.clear(); }
    std::size_t size() const { return iterators_.size(); }

  private:
    std::map<std::string, TicketIterator> iterators_;
};

}  // namespace vantrell::standins
