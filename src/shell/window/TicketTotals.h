#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "shell/window/TicketTable.h"

namespace vantrell {

// The tickets and hours of one employee, one wage item or all tickets.
struct TicketTotal {
    std::string name;
    std::int64_t tickets = 0;
    double hours = 0;          // the sum of the hours that are numbers
    std::int64_t damaged = 0;  // tickets whose hours are not a number, left out of `hours`
};

// The totals a clerk holds against the time-and-attendance report.
struct TicketTotals {
    std::vector<TicketTotal> perEmployee;  // by name, ignoring ASCII letter case
    std::vector<TicketTotal> perWageItem;  // likewise
    TicketTotal overall;
};

// Totals the tickets' hours per employee, per wage item and overall.
TicketTotals totalTickets(const std::vector<TicketRow>& rows);

// The totals as a window's second table shows them, in this order: each employee, each wage
// item, then all tickets; each row "Employee"/"Wage item"/"All tickets", the name, the count of
// tickets and the hours with two decimals (with how many tickets' hours are damaged, if any).
using TotalsRow = std::array<std::string, 4>;
inline const TotalsRow kTotalsTitles = {"Total of", "Name", "Tickets", "Hours"};
std::vector<TotalsRow> totalsRows(const TicketTotals& totals);

}  // namespace vantrell
