#pragma once

#include <string>

#include "diag/modErrorLog.h"
#include "extract/ExtractionState.h"

namespace vantrell {

// Adds one Punch row through state.rsPunch for the current day of state.rsReportData when the
// hours in `strHoursColumn` exceed 0.005 in size: the next lngSequence, the day's name and
// date, those hours, the pay type named in column `strPayTypeColumn` of the export definition
// (the hours column's own name when that is empty), Posted false and an empty Error.
// A failure is logged under "CreateWorkRecord" with the two columns as the message, the row is
// not stored, the day is noted as not staged and lngSequence keeps any number it took. Throws
// only db::TransactionLost: once SQLite has rolled the run's writes back, no later row could be
// kept either.
void CreateWorkRecord(modErrorLog& log, ExtractionState& state, const std::string& strHoursColumn,
                      const std::string& strPayTypeColumn);

// The same for the pay types of a non-worked day; failures are logged under
// "CreateNonWorkRecord".
void CreateNonWorkRecord(modErrorLog& log, ExtractionState& state,
                         const std::string& strHoursColumn, const std::string& strPayTypeColumn);

// Notes the current day of state.rsReportData in state.outcome as one the stage lacks, once
// however many of its rows failed. Never throws.
void noteDayNotStaged(ExtractionState& state);

}  // namespace vantrell
