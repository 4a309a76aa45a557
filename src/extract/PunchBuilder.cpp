#include "extract/PunchBuilder.h"

#include <cmath>
#include <cstdint>
#include <exception>
#include <limits>
#include <string>
#include <string_view>

#include "diag/Guard.h"
#include "diag/RequireObject.h"
#include "extract/DayDescription.h"
#include "interfacedb/DbError.h"
#include "interfacedb/stage/StageTables.h"

namespace vantrell {

namespace {

// Hours of this size or less are rounding noise, not time worked or paid.
constexpr double kNegligibleHours = 0.005;

// A ticket without an employee or a day cannot be posted; the Punch columns are required, as
// the staging store's own engine makes them.
db::Value required(const db::Value& value, std::string_view column) {
    if (value.isNull()) {
        throw db::DbError("Field 'Punch." + std::string(column) +
                          "' cannot contain a Null value because the Required property for this "
                          "field is set to True. Enter a value in this field.");
    }
    return value;
}

void storeRow(ExtractionState& state, const db::Recordset& day, const db::Value& hours,
              const std::string& payType) {
    db::Recordset& punch = requireObject<db::DbError>(state.rsPunch);
    ExtractionColumns& columns = state.columns;
    // The accounting system's names where the map has them.
    const db::Value name = required(day.field(columns.fullName.in(day)), "Name");
    std::string chronelName;
    db::Value stagedName = name;
    bool employeeMapped = false;
    if (name.kind() == db::Value::Kind::Text) {
        chronelName = name.toText();
        const std::string& mapped = state.names.staged(stage::NameKind::Employee, chronelName);
        if (&mapped != &chronelName) {
            stagedName = db::Value(mapped);
            employeeMapped = true;
        }
    }
    const std::string& stagedPayType = state.names.staged(stage::NameKind::PayType, payType);

    punch.addNew();
    punch.setField(columns.sequence.in(punch), db::Value(state.lngSequence));
    punch.setField(columns.name.in(punch), stagedName);
    // A day without a date is refused before the stage's Date column is looked for.
    const db::Value date = required(day.field(columns.adjustedDate.in(day)), "Date");
    punch.setField(columns.date.in(punch), date);
    punch.setField(columns.hours.in(punch), hours);
    punch.setField(columns.payType.in(punch), db::Value(stagedPayType));
    punch.setField(columns.posted.in(punch), db::Value(false));
    punch.setField(columns.error.in(punch), db::Value(std::string()));
    punch.update();

    // A renamed ticket keeps the names it was staged from, once it is stored.
    if ((employeeMapped || &stagedPayType != &payType) && name.kind() == db::Value::Kind::Text) {
        state.renamed.push_back({state.lngSequence, chronelName, payType});
    }
}

// The ticket of the current day for these columns, when its hours are worth one. Throws what
// stopped it.
void stageTicket(ExtractionState& state, const std::string& strHoursColumn,
                 const std::string& strPayTypeColumn) {
    const db::Recordset& day = requireObject<db::DbError>(state.rsReportData);
    const db::Value hours = day.field(state.columns.dayColumn(strHoursColumn).in(day));
    if (hours.isNull() || !(std::fabs(hours.toDouble()) > kNegligibleHours)) {
        return;
    }

    const db::Recordset& definition = requireObject<db::DbError>(state.rsExportDfn);
    const db::Value configured =
        definition.field(state.columns.definitionColumn(strPayTypeColumn).in(definition));
    std::string payType = configured.isNull() ? std::string() : configured.toText();
    if (payType.empty()) {
        payType = strHoursColumn;
    }

    // The number is taken before the row is stored, so a row that fails leaves a gap.
    if (state.lngSequence == std::numeric_limits<std::int32_t>::max()) {
        throw db::DbError("Overflow");
    }
    ++state.lngSequence;

    // A row that cannot be stored is described by the values that stopped it.
    try {
        storeRow(state, day, hours, payType);
    } catch (const db::TransactionLost&) {
        throw;
    } catch (const db::DbError& e) {
        throw db::DbError(
            withRow(e.what(), ticketProblem(day, strHoursColumn, strPayTypeColumn, payType)));
    }
}

void createPunchRecord(modErrorLog& log, ExtractionState& state, std::string_view procedure,
                       const std::string& strHoursColumn, const std::string& strPayTypeColumn) {
    const std::string message = strHoursColumn + " " + strPayTypeColumn;
    // Kept out of the handler: once SQLite has rolled the run back, the run ends here.
    std::exception_ptr runLost;
    const bool staged = guard(log, procedure, message, [&] {
        try {
            stageTicket(state, strHoursColumn, strPayTypeColumn);
        } catch (const db::TransactionLost&) {
            runLost = std::current_exception();
        }
    });
    if (!staged || runLost) {
        noteDayNotStaged(state);
    }
    if (runLost) {
        std::rethrow_exception(runLost);
    }
}

}  // namespace

void noteDayNotStaged(ExtractionState& state) {
    std::string day = "an unreadable day";
    if (state.rsReportData) {
        day = dayOf(*state.rsReportData);
    }
    if (state.outcome.daysNotStaged.empty() || state.outcome.daysNotStaged.back() != day) {
        state.outcome.daysNotStaged.push_back(day);
    }
}

void CreateWorkRecord(modErrorLog& log, ExtractionState& state, const std::string& strHoursColumn,
                      const std::string& strPayTypeColumn) {
    createPunchRecord(log, state, "CreateWorkRecord", strHoursColumn, strPayTypeColumn);
}

void CreateNonWorkRecord(modErrorLog& log, ExtractionState& state,
                         const std::string& strHoursColumn, const std::string& strPayTypeColumn) {
    createPunchRecord(log, state, "CreateNonWorkRecord", strHoursColumn, strPayTypeColumn);
}

}  // namespace vantrell
