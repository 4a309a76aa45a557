#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "interfacedb/DateTime.h"
#include "shell/window/CsvText.h"

namespace vantrell {

// One time ticket as a window's table shows it: a staged one, or one an export posted (then
// with the accounting system's transaction id, its state and the accounting system's message).
struct TicketRow {
    std::string employee;
    std::optional<db::DateTime> date;  // nothing when the stored value is not a date
    float hours = 0;
    std::string wageItem;
    std::string txnId;
    std::string state;
    std::string message;
};

enum class TicketColumn { Employee, Date, WageItem, Hours, TxnId, State, Message };

// The columns of the review of the stage.
inline const std::vector<TicketColumn> kStagedTicketColumns = {
    TicketColumn::Employee, TicketColumn::Date, TicketColumn::WageItem, TicketColumn::Hours};

// Shown in place of a value that the database holds damaged.
inline constexpr const char* kNotADate = "(not a date)";
inline constexpr const char* kNotANumber = "(not a number)";

// A table of tickets as every front end shows it: the columns' titles, each cell's text, and
// the order of the rows, which a click on a column's title changes. Cells are made when asked
// for, so that a front end's virtual list asks only for the rows on screen.
class TicketTable {
  public:
    TicketTable() = default;
    // The rows in the order given (the stage's Sequence order), shown in `columns`.
    TicketTable(std::vector<TicketColumn> columns, std::vector<TicketRow> rows);

    std::size_t columnCount() const { return columns_.size(); }
    std::size_t rowCount() const { return rows_.size(); }
    TicketColumn column(std::size_t column) const { return columns_.at(column); }
    // "Employee", "Date", "Wage item", "Hours", "TxnID", "State", "Message".
    std::string title(std::size_t column) const;
    // The text of a cell, `row` counted in the order shown: a date as yyyy-mm-dd, hours with
    // a dot and no more digits than they need. Throws std::out_of_range outside the table.
    std::string text(std::size_t row, std::size_t column) const;
    // Whether the column holds numbers, which a front end aligns right.
    bool numeric(std::size_t column) const;
    // The ticket shown at `row`.
    const TicketRow& row(std::size_t row) const { return rows_.at(order_.at(row)); }
    const std::vector<TicketRow>& rowsAsGiven() const { return rows_; }

    // Orders the rows by the column's values (names ignoring ASCII letter case; a damaged date
    // or number before every other), ascending or not; rows of equal value keep the order they
    // had, so sorting by employee after sorting by date lists each employee's days in order.
    void sortBy(std::size_t column, bool ascending);
    // What a click on a column's title does: sorts by it ascending, or the other way when the
    // rows are sorted ascending by it already. Returns whether the order is now ascending.
    bool toggleSortBy(std::size_t column);
    // The command that sorts by the column in a keyboard menu, the title's first letter its
    // access key: "Sort by &Employee".
    std::string sortCommand(std::size_t column) const;
    // The column last sorted by, or nothing while the rows are in the order given.
    std::optional<std::size_t> sortColumn() const { return sortColumn_; }
    bool sortAscending() const { return ascending_; }

    // The CSV header row: the columns' titles.
    CsvRow csvHeader() const;
    // The row shown at `row` as CSV cells: hours a number, names text.
    CsvRow csvRow(std::size_t row) const;

  private:
    std::vector<TicketColumn> columns_;
    std::vector<TicketRow> rows_;
    std::vector<std::size_t> order_;  // rows_ index of each row shown
    std::optional<std::size_t> sortColumn_;
    bool ascending_ = true;
};

// Hours with a dot and no more digits than the stored value needs ("7.5", "8", "-1.25"); the
// same in every locale. kNotANumber for an infinite or not-a-number value.
std::string hoursText(float hours);

// A total of hours with a dot and two decimals ("37.50"), the same in every locale.
std::string totalHoursText(double hours);

}  // namespace vantrell
