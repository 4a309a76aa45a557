#include "shell/window/TicketTable.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numeric>
#include <stdexcept>

#include "diag/Utf8.h"

namespace vantrell {

namespace {

int compareDates(const std::optional<db::DateTime>& a, const std::optional<db::DateTime>& b) {
    if (a.has_value() != b.has_value()) {
        return a.has_value() ? 1 : -1;  // a damaged date first
    }
    if (!a || *a == *b) {
        return 0;
    }
    return *a < *b ? -1 : 1;
}

int compareHours(float a, float b) {
    const bool aFinite = std::isfinite(a);
    const bool bFinite = std::isfinite(b);
    if (aFinite != bFinite) {
        return aFinite ? 1 : -1;  // a damaged number first
    }
    if (!aFinite || a == b) {
        return 0;
    }
    return a < b ? -1 : 1;
}

// The text of a column that holds names, or null for one that holds dates or numbers.
const std::string* nameOf(TicketColumn column, const TicketRow& row) {
    switch (column) {
        case TicketColumn::Employee:
            return &row.employee;
        case TicketColumn::WageItem:
            return &row.wageItem;
        case TicketColumn::TxnId:
            return &row.txnId;
        case TicketColumn::State:
            return &row.state;
        case TicketColumn::Message:
            return &row.message;
        case TicketColumn::Date:
        case TicketColumn::Hours:
            return nullptr;
    }
    return nullptr;
}

}  // namespace

std::string hoursText(float hours) {
    if (!std::isfinite(hours)) {
        return kNotANumber;
    }
    char buffer[32];
    // The shortest text that reads back as the stored value, never in the locale's form.
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, hours);
    return std::string(buffer, result.ptr);
}

std::string totalHoursText(double hours) {
    if (!std::isfinite(hours)) {
        return kNotANumber;
    }
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, hours, std::chars_format::fixed, 2);
    std::string text(buffer, result.ptr);
    return text == "-0.00" ? "0.00" : text;
}

TicketTable::TicketTable(std::vector<TicketColumn> columns, std::vector<TicketRow> rows)
    : columns_(std::move(columns)), rows_(std::move(rows)), order_(rows_.size()) {
    std::iota(order_.begin(), order_.end(), std::size_t{0});
}

std::string TicketTable::title(std::size_t column) const {
    switch (columns_.at(column)) {
        case TicketColumn::Employee:
            return "Employee";
        case TicketColumn::Date:
            return "Date";
        case TicketColumn::WageItem:
            return "Wage item";
        case TicketColumn::Hours:
            return "Hours";
        case TicketColumn::TxnId:
            return "TxnID";
        case TicketColumn::State:
            return "State";
        case TicketColumn::Message:
            return "Message";
    }
    return {};
}

bool TicketTable::numeric(std::size_t column) const {
    return columns_.at(column) == TicketColumn::Hours;
}

std::string TicketTable::text(std::size_t rowIndex, std::size_t column) const {
    const TicketRow& ticket = row(rowIndex);
    switch (columns_.at(column)) {
        case TicketColumn::Employee:
            return ticket.employee;
        case TicketColumn::Date:
            return ticket.date ? ticket.date->dateText() : kNotADate;
        case TicketColumn::WageItem:
            return ticket.wageItem;
        case TicketColumn::Hours:
            return hoursText(ticket.hours);
        case TicketColumn::TxnId:
            return ticket.txnId;
        case TicketColumn::State:
            return ticket.state;
        case TicketColumn::Message:
            return ticket.message;
    }
    return {};
}

void TicketTable::sortBy(std::size_t column, bool ascending) {
    const TicketColumn by = columns_.at(column);
    const auto sortWith = [&](auto compare) {
        std::stable_sort(order_.begin(), order_.end(), [&](std::size_t a, std::size_t b) {
            const int c = compare(a, b);
            return ascending ? c < 0 : c > 0;
        });
    };
    if (by == TicketColumn::Date) {
        sortWith([&](std::size_t a, std::size_t b) {
            return compareDates(rows_[a].date, rows_[b].date);
        });
    } else if (by == TicketColumn::Hours) {
        sortWith([&](std::size_t a, std::size_t b) {
            return compareHours(rows_[a].hours, rows_[b].hours);
        });
    } else {
        // Names ignoring ASCII letter case, made once rather than at every comparison; names
        // equal but for case are ordered by their bytes, so that the order never depends on
        // the order they came in.
        std::vector<std::string> keys(rows_.size());
        for (std::size_t i = 0; i < rows_.size(); ++i) {
            keys[i] = asciiLower(*nameOf(by, rows_[i]));
        }
        sortWith([&](std::size_t a, std::size_t b) {
            const int c = keys[a].compare(keys[b]);
            return c != 0 ? c : nameOf(by, rows_[a])->compare(*nameOf(by, rows_[b]));
        });
    }
    sortColumn_ = column;
    ascending_ = ascending;
}

bool TicketTable::toggleSortBy(std::size_t column) {
    const bool ascending = !(sortColumn_ == column && ascending_);
    sortBy(column, ascending);
    return ascending;
}

std::string TicketTable::sortCommand(std::size_t column) const {
    return "Sort by &" + title(column);
}

CsvRow TicketTable::csvHeader() const {
    CsvRow header;
    for (std::size_t c = 0; c < columns_.size(); ++c) {
        header.push_back({title(c), CsvKind::Text});
    }
    return header;
}

CsvRow TicketTable::csvRow(std::size_t rowIndex) const {
    CsvRow cells;
    const TicketRow& ticket = row(rowIndex);
    for (std::size_t c = 0; c < columns_.size(); ++c) {
        // Hours this program wrote are a number; a damaged one is text like any name.
        const bool number = numeric(c) && std::isfinite(ticket.hours);
        cells.push_back({text(rowIndex, c), number ? CsvKind::Number : CsvKind::Text});
    }
    return cells;
}

}  // namespace vantrell
