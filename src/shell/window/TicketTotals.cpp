#include "shell/window/TicketTotals.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "diag/Utf8.h"

namespace vantrell {

namespace {

void count(TicketTotal& total, float hours) {
    ++total.tickets;
    if (std::isfinite(hours)) {
        total.hours += static_cast<double>(hours);
    } else {
        ++total.damaged;
    }
}

// Totals keyed by name, the accounting system's names being the same without regard to ASCII
// letter case; the first spelling met names the total.
class TotalsByName {
  public:
    void add(const std::string& name, float hours) {
        auto [it, added] = totals_.try_emplace(asciiLower(name));
        if (added) {
            it->second.name = name;
        }
        count(it->second, hours);
    }
    std::vector<TicketTotal> list() const {
        std::vector<TicketTotal> list;
        list.reserve(totals_.size());
        for (const auto& [key, total] : totals_) {
            list.push_back(total);
        }
        return list;
    }

  private:
    std::map<std::string, TicketTotal> totals_;
};

std::string hoursCell(const TicketTotal& total) {
    std::string text = totalHoursText(total.hours);
    if (total.damaged > 0) {
        text += " (" + std::to_string(total.damaged) + " not a number)";
    }
    return text;
}

}  // namespace

TicketTotals totalTickets(const std::vector<TicketRow>& rows) {
    TotalsByName employees;
    TotalsByName wageItems;
    TicketTotals totals;
    for (const TicketRow& row : rows) {
        employees.add(row.employee, row.hours);
        wageItems.add(row.wageItem, row.hours);
        count(totals.overall, row.hours);
    }
    totals.perEmployee = employees.list();
    totals.perWageItem = wageItems.list();
    return totals;
}

std::vector<TotalsRow> totalsRows(const TicketTotals& totals) {
    std::vector<TotalsRow> rows;
    rows.reserve(totals.perEmployee.size() + totals.perWageItem.size() + 1);
    for (const TicketTotal& total : totals.perEmployee) {
        rows.push_back({"Employee", total.name, std::to_string(total.tickets), hoursCell(total)});
    }
    for (const TicketTotal& total : totals.perWageItem) {
        rows.push_back({"Wage item", total.name, std::to_string(total.tickets), hoursCell(total)});
    }
    rows.push_back(
        {"All tickets", "", std::to_string(totals.overall.tickets), hoursCell(totals.overall)});
    return rows;
}

}  // namespace vantrell
