#include "extract/DayDispatch.h"

#include <array>
#include <cmath>
#include <string>

#include "diag/RequireObject.h"
#include "extract/DayDescription.h"
#include "extract/NonWorkedCode.h"
#include "extract/PunchBuilder.h"
#include "interfacedb/DbError.h"

namespace vantrell {

namespace {

struct Band {
    const char* hoursColumn;
    const char* payTypeColumn;
};
using Bands = std::array<Band, 3>;

constexpr Bands kRegular{{{"Reg", "RGSTD"}, {"OT1", "RGOT1"}, {"OT2", "RGOT2"}}};
constexpr Bands kDifferential{{{"Reg", "DFSTD"}, {"OT1", "DFOT1"}, {"OT2", "DFOT2"}}};

struct NonWorkedCategory {
    const char* category;
    Bands bands;
};

constexpr std::array<NonWorkedCategory, 4> kNonWorked{{
    {"ACCRUAL1", {{{"Reg", "A1STD"}, {"OT1", "A1OT1"}, {"OT2", "A1OT2"}}}},
    {"ACCRUAL2", {{{"Reg", "A2STD"}, {"OT1", "A2OT1"}, {"OT2", "A2OT2"}}}},
    {"ACCRUAL3", {{{"Reg", "A3STD"}, {"OT1", "A3OT1"}, {"OT2", "A3OT2"}}}},
    {"HOLIDAY", {{{"Reg", "HOSTD"}, {"OT1", "HOOT1"}, {"OT2", "HOOT2"}}}},
}};

// Hours that are not a finite single-precision number end the run at this day, before any
// of its rows is staged.
// The failure names the row and the column, so that the clerk can find it.
void requireNumericHours(ExtractionState& state, const db::Recordset& day) {
    for (const char* column : {"Reg", "OT1", "OT2"}) {
        try {
            if (!std::isfinite(day.field(state.columns.dayColumn(column).in(day)).toSingle())) {
                throw db::DbError("Overflow");
            }
        } catch (const db::DbError& e) {
            throw db::DbError(withRow(e.what(), hoursProblem(day, column)));
        }
    }
}

// "*" alone stands for an unknown absence; a leading "*" is otherwise only a marker.
std::string codeWithoutMarker(std::string code) {
    if (code.front() == '*') {
        code = code == "*" ? std::string("Unknown") : code.substr(1);
    }
    return code;
}

void stageNonWorkedDay(modErrorLog& log, ExtractionState& state, std::string code) {
    const std::string category = strNonWkdCode(log, state, codeWithoutMarker(std::move(code)));
    // The code could not be read against the titles: the day's hours are not staged, and the
    // stage must not be offered as if they were none.
    if (category.empty()) {
        noteDayNotStaged(state);
        return;
    }
    for (const auto& nonWorked : kNonWorked) {
        if (category == nonWorked.category) {
            for (const auto& band : nonWorked.bands) {
                CreateNonWorkRecord(log, state, band.hoursColumn, band.payTypeColumn);
            }
            return;
        }
    }
}

void stageWorkedDay(modErrorLog& log, ExtractionState& state) {
    for (const auto& band : kRegular) {
        CreateWorkRecord(log, state, band.hoursColumn, band.payTypeColumn);
    }
    const db::Recordset& day = requireObject<db::DbError>(state.rsReportData);
    const db::Value useDiff = day.field(state.columns.useDiff.in(day));
    if (!useDiff.isNull() && useDiff.toBoolean()) {
        for (const auto& band : kDifferential) {
            CreateWorkRecord(log, state, band.hoursColumn, band.payTypeColumn);
        }
    }
}

}  // namespace

void stageDay(modErrorLog& log, ExtractionState& state) {
    const db::Recordset& day = requireObject<db::DbError>(state.rsReportData);
    requireNumericHours(state, day);
    const db::Value code = day.field(state.columns.nonWorked.in(day));
    std::string text = code.isNull() ? std::string() : code.toText();
    if (!text.empty()) {
        stageNonWorkedDay(log, state, std::move(text));
    } else {
        stageWorkedDay(log, state);
    }
}

}  // namespace vantrell
