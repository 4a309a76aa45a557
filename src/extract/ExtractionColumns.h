#pragma once

#include <deque>
#include <string_view>

#include "interfacedb/FieldOrdinal.h"
#include "interfacedb/stage/StageTables.h"

namespace vantrell {

// The columns the builders read from the days and the export definition and write to the
// stage, each found once in the set it belongs to (see db::FieldOrdinal): a run reads and
// writes them for every ticket.
struct ExtractionColumns {
    // The days.
    db::FieldOrdinal fullName{"FullName"};
    db::FieldOrdinal adjustedDate{"AdjustedDate"};
    db::FieldOrdinal nonWorked{"NonWkdHrs"};
    db::FieldOrdinal useDiff{"UseDiff"};

    // The stage's Punch rows.
    db::FieldOrdinal sequence{stage::kSequence};
    db::FieldOrdinal name{stage::kName};
    db::FieldOrdinal date{stage::kDate};
    db::FieldOrdinal hours{stage::kHours};
    db::FieldOrdinal payType{stage::kPayTypeColumn};
    db::FieldOrdinal posted{stage::kPosted};
    db::FieldOrdinal error{stage::kError};

    // An hours column of the days, and a pay-type column of the export definition, by the name
    // the builders are given.
    db::FieldOrdinal& dayColumn(std::string_view column) { return named(dayColumns_, column); }
    db::FieldOrdinal& definitionColumn(std::string_view column) {
        return named(definitionColumns_, column);
    }

  private:
    // A deque, so that the ordinals handed out stay where they are as others are added.
    static db::FieldOrdinal& named(std::deque<db::FieldOrdinal>& columns, std::string_view column) {
        for (db::FieldOrdinal& known : columns) {
            if (known.name() == column) {
                return known;
            }
        }
        return columns.emplace_back(column);
    }

    std::deque<db::FieldOrdinal> dayColumns_;
    std::deque<db::FieldOrdinal> definitionColumns_;
};

}  // namespace vantrell
