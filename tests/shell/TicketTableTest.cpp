#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "shell/window/TicketTable.h"
#include "shell/window/TicketTotals.h"

namespace vantrell {
namespace {

TicketRow ticket(std::string employee, const char* date, float hours, std::string wageItem) {
    TicketRow row;
    row.employee = std::move(employee);
    if (date != nullptr) {
        row.date = db::DateTime::parse(date);
    }
    row.hours = hours;
    row.wageItem = std::move(wageItem);
    return row;
}

std::vector<std::string> column(const TicketTable& table, std::size_t c) {
    std::vector<std::string> texts;
    for (std::size_t r = 0; r < table.rowCount(); ++r) {
        texts.push_back(table.text(r, c));
    }
    return texts;
}

TicketTable sample() {
    return TicketTable(
        kStagedTicketColumns,
        {ticket("worker two", "2026-03-03", 8, "Hourly"),
         ticket("Worker One", "2026-03-02", 7.5f, "Overtime"),
         ticket("Zoë", nullptr, 0.25f, "Hourly"), ticket("Worker One", "2026-03-01", 10, "Hourly"),
         ticket("Anna", "2026-03-02", std::numeric_limits<float>::infinity(), "hourly")});
}

TEST(TicketTable, CellsShowDatesAsIsoAndHoursWithADotAndDamageAsSuch) {
    const TicketTable table = sample();
    ASSERT_EQ(table.columnCount(), 4u);
    EXPECT_EQ(
        (std::vector<std::string>{table.title(0), table.title(1), table.title(2), table.title(3)}),
        (std::vector<std::string>{"Employee", "Date", "Wage item", "Hours"}));
    EXPECT_EQ(column(table, 1), (std::vector<std::string>{"2026-03-03", "2026-03-02", kNotADate,
                                                          "2026-03-01", "2026-03-02"}));
    EXPECT_EQ(column(table, 3), (std::vector<std::string>{"8", "7.5", "0.25", "10", kNotANumber}));
    EXPECT_TRUE(table.numeric(3));
    EXPECT_FALSE(table.numeric(0));
    EXPECT_THROW(static_cast<void>(table.text(5, 0)), std::out_of_range);
    EXPECT_EQ(hoursText(7.3f), "7.3");  // the float's shortest form, not 7.30000019
    EXPECT_EQ(hoursText(-1.25f), "-1.25");
    EXPECT_EQ(totalHoursText(37.5), "37.50");
    EXPECT_EQ(totalHoursText(-0.001), "0.00");
}

TEST(TicketTable, SortsByEachColumnBothWaysKeepingTheOrderOfEqualRows) {
    TicketTable table = sample();
    EXPECT_FALSE(table.sortColumn().has_value());

    table.sortBy(1, true);  // date: the damaged one first, equal dates in the stage's order
    EXPECT_EQ(column(table, 0),
              (std::vector<std::string>{"Zoë", "Worker One", "Worker One", "Anna", "worker two"}));
    table.sortBy(0, true);  // employee, ignoring case; each employee's days stay in date order
    EXPECT_EQ(column(table, 0),
              (std::vector<std::string>{"Anna", "Worker One", "Worker One", "worker two", "Zoë"}));
    EXPECT_EQ(column(table, 1)[1], "2026-03-01");
    EXPECT_EQ(column(table, 1)[2], "2026-03-02");
    EXPECT_EQ(table.sortColumn(), 0u);
    EXPECT_TRUE(table.sortAscending());

    table.sortBy(3, false);  // hours, largest first, the damaged one last
    EXPECT_EQ(column(table, 3), (std::vector<std::string>{"10", "8", "7.5", "0.25", kNotANumber}));
    table.sortBy(2, true);
    EXPECT_EQ(column(table, 2),
              (std::vector<std::string>{"Hourly", "Hourly", "Hourly", "hourly", "Overtime"}));
    EXPECT_EQ(table.row(4).employee, "Worker One");

    // A click on a title, or its command from the keyboard: ascending, then the other way.
    EXPECT_TRUE(table.toggleSortBy(3));
    EXPECT_EQ(column(table, 3).front(), kNotANumber);
    EXPECT_FALSE(table.toggleSortBy(3));
    EXPECT_EQ(column(table, 3).front(), "10");
    EXPECT_TRUE(table.toggleSortBy(0));
    EXPECT_EQ(table.sortCommand(2), "Sort by &Wage item");
}

TEST(TicketTotals, PerEmployeePerWageItemAndOverallIgnoringCaseAndDamagedHours) {
    const TicketTable table = sample();
    const TicketTotals totals = totalTickets(table.rowsAsGiven());
    EXPECT_EQ(totals.overall.tickets, 5);
    EXPECT_DOUBLE_EQ(totals.overall.hours, 25.75);
    EXPECT_EQ(totals.overall.damaged, 1);

    const std::vector<TotalsRow> rows = totalsRows(totals);
    const std::vector<TotalsRow> expected = {
        {"Employee", "Anna", "1", "0.00 (1 not a number)"},
        {"Employee", "Worker One", "2", "17.50"},
        {"Employee", "worker two", "1", "8.00"},
        {"Employee", "Zoë", "1", "0.25"},
        // "Hourly" and "hourly" are one wage item to the accounting system
        {"Wage item", "Hourly", "4", "18.25 (1 not a number)"},
        {"Wage item", "Overtime", "1", "7.50"},
        {"All tickets", "", "5", "25.75 (1 not a number)"},
    };
    EXPECT_EQ(rows, expected);

    const TicketTotals none = totalTickets({});
    EXPECT_EQ(totalsRows(none), (std::vector<TotalsRow>{{"All tickets", "", "0", "0.00"}}));
}

TEST(TicketTotals, HundredsOfThousandsOfQuarterHoursAddUpExactly) {
    std::vector<TicketRow> rows(200000, ticket("A", "2026-03-02", 7.25f, "Hourly"));
    EXPECT_EQ(totalsRows(totalTickets(rows)).back()[3], "1450000.00");
}

}  // namespace
}  // namespace vantrell
