#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vantrell::standins {

// The lists of the company file: the two that time tickets refer to, and the payroll items
// that are not wage items (additions), which share the wage items' names.
enum class ListKind { Employee, WageItem, NonWageItem };

// One entry of a list: an employee or a payroll item. Times are seconds since 1970 UTC.
struct ListRecord {
    std::string listId;
    std::string name;
    bool active = true;
    std::int64_t timeCreated = 0;
    std::int64_t timeModified = 0;
};

// A time ticket to post, its references already resolved to list entries.
struct NewTicket {
    std::string txnDate;  // YYYY-MM-DD
    ListRecord employee;
    std::optional<ListRecord> wageItem;
    std::int64_t durationSeconds = 0;
    std::optional<std::string> notes;
    std::string billableStatus = "NotBillable";  // Billable, NotBillable or HasBeenBilled
};

// A posted time-tracking transaction.
struct PostedTicket {
    std::int64_t txnNumber = 0;
    std::string txnId;
    std::int64_t timeCreated = 0;
    NewTicket ticket;
};

// A ticket's place in the order queries read tickets in: TxnDate, then TxnNumber.
struct TicketPosition {
    std::string txnDate;
    std::int64_t txnNumber = 0;
};

// Which posted tickets a query reads: TxnDate from/to (YYYY-MM-DD) and the moment last
// modified from/to (seconds since 1970 UTC), each bound optional and inclusive; and, for the
// next page of an iterator, only those after `after` in the order read.
struct TicketSelection {
    std::optional<std::string> fromTxnDate;
    std::optional<std::string> toTxnDate;
    std::optional<std::int64_t> fromModified;
    std::optional<std::int64_t> toModified;
    std::optional<TicketPosition> after;
};

}  // namespace vantrell::standins
