#include "shell/window/TicketTable.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numeric>
#include <stdexcept>

namespace vantrell {

namespace {

// Negative, zero or positive as `a` sorts before, with or after `b`, ignoring ASCII case; texts
// equal but for case are ordered by their bytes, so that the order never depends on the input's.
int compareNames(const std::string& a, const std::string& b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        auto lower = [](char c) {
            return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c - 'A' + 'a')
                                        : static_cast<unsigned char>(c);
        };
        const unsigned char x = lower(a[i]);
        const unsigned char y = lower(b[i]);
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    if (a.size() != b.size()) {
        return a.size() < b.size() ? -1 : 1;
    }
    return a.compare(b);
}

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

int compareBy(TicketColumn column, const TicketRow& a, const TicketRow& b) {
    switch (column) {
        case TicketColumn::Employee:
            return compareNames(a.employee, b.employee);
        case TicketColumn::Date:
            return compareDates(a.date, b.date);
        case TicketColumn::WageItem:
            return compareNames(a.wageItem, b.wageItem);
        case TicketColumn::Hours:
            return compareHours(a.hours, b.hours);
        case TicketColumn::TxnId:
            return a.txnId.compare(b.txnId);
        case TicketColumn::State:
            return compareNames(a.state, b.state);
        case TicketColumn::Message:
            return compareNames(a.message, b.message);
    }
    return 0;
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
    std::stable_sort(order_.begin(), order_.end(), [&](std::size_t a, std::size_t b) {
        const int c = compareBy(by, rows_[a], rows_[b]);
        return ascending ? c < 0 : c > 0;
    });
    sortColumn_ = column;
    ascending_ = ascending;
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
