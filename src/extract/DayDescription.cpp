#include "extract/DayDescription.h"

#include <cmath>
#include <exception>
#include <optional>

#include "interfacedb/ColumnType.h"
#include "interfacedb/DateTime.h"

namespace vantrell {

namespace {

// The width of the stage's name and pay-type columns.
constexpr std::size_t kNameWidth = 50;

std::optional<db::Value> fieldOf(const db::Recordset& day, const std::string& column) {
    try {
        return day.field(column);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::string textOf(const db::Value& value) {
    try {
        return value.toText();
    } catch (const std::exception&) {
        return {};
    }
}

// The day of a date's text as yyyy-mm-dd, the empty text as it is, nothing for other text.
std::optional<std::string> dayText(const std::string& text) {
    if (text.empty()) {
        return text;
    }
    const auto date = db::DateTime::parse(text);
    if (!date) {
        return std::nullopt;
    }
    return date->dateText();
}

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// The time-and-attendance column behind each hours alias, as the clerk knows it.
std::string sourceColumnOf(const std::string& hoursColumn) {
    if (hoursColumn == "Reg") {
        return "PST";
    }
    if (hoursColumn == "OT1") {
        return "POT1";
    }
    if (hoursColumn == "OT2") {
        return "POT2";
    }
    return hoursColumn;
}

std::string tooLong(const std::string& what, const std::string& text) {
    return what + " is " + std::to_string(db::utf8Length(text)) + " characters, longer than " +
           std::to_string(kNameWidth);
}

// The employee of the day in hand, quoted, or "(no name)".
std::string whoOf(const db::Recordset& day) {
    const auto name = fieldOf(day, "FullName");
    return !name || name->isNull() ? std::string("(no name)") : quoted(textOf(*name));
}

// The day in hand as yyyy-mm-dd, a text that is no date quoted as it stands, or "(no day)".
std::string whenOf(const db::Recordset& day) {
    const auto date = fieldOf(day, "AdjustedDate");
    if (!date || date->isNull()) {
        return "(no day)";
    }
    const std::string written = textOf(*date);
    const auto formatted = dayText(written);
    return formatted ? *formatted : quoted(written);
}

}  // namespace

std::string dayOf(const db::Recordset& day) {
    return whoOf(day) + " on " + whenOf(day);
}

std::string withRow(const std::string& description, const std::string& problem) {
    std::string text = description;
    // The engine's sentences end in a full stop; the row follows after a colon.
    while (!text.empty() && (text.back() == '.' || text.back() == ' ')) {
        text.pop_back();
    }
    return text + ": " + problem;
}

std::string ticketProblem(const db::Recordset& day, const std::string& hoursColumn,
                          const std::string& payTypeColumn, const std::string& payType) {
    const auto name = fieldOf(day, "FullName");
    const auto date = fieldOf(day, "AdjustedDate");
    if (name && name->isNull()) {
        return "the name (FULL NAME) on " + whenOf(day) + " is empty (Null)";
    }
    if (name && db::utf8Length(textOf(*name)) > kNameWidth) {
        return tooLong("the name " + dayOf(day), textOf(*name));
    }
    if (date && date->isNull()) {
        return "the day (ADJUSTEDDATE) of " + whoOf(day) + " is empty (Null)";
    }
    if (date && !dayText(textOf(*date))) {
        return "the day (ADJUSTEDDATE) " + whenOf(day) + " of " + whoOf(day) + " is not a date";
    }
    if (db::utf8Length(payType) > kNameWidth) {
        return tooLong("the pay type " + quoted(payType) + " of column " + payTypeColumn +
                           " of the export definition, for " + dayOf(day) + ",",
                       payType);
    }
    return "the " + payTypeColumn + " ticket (" + sourceColumnOf(hoursColumn) + " hours) of " +
           dayOf(day);
}

std::string hoursProblem(const db::Recordset& day, const std::string& hoursColumn) {
    const std::string what =
        "the hours " + sourceColumnOf(hoursColumn) + " of " + dayOf(day) + " are ";
    const auto hours = fieldOf(day, hoursColumn);
    if (!hours) {
        return what + "missing";
    }
    if (hours->isNull()) {
        return what + "empty (Null)";
    }
    try {
        const double value = hours->toDouble();
        if (std::isnan(value)) {
            return what + "not a number";
        }
        return what + "too large (" + textOf(*hours) + ")";
    } catch (const std::exception&) {
        return what + quoted(textOf(*hours)) + ", not a number";
    }
}

}  // namespace vantrell
