#pragma once

#include "diag/modErrorLog.h"
#include "extract/ExtractionState.h"
#include "interfacedb/InterfaceDatabase.h"

namespace vantrell {

// Rebuilds Punch, Employee and PayType of the interface database (interfaceDb.cnInterface) from
// the time-and-attendance database (state.cnChronel): every staged row is deleted, each day's
// hours become Punch rows, and Employee and PayType end holding the names those rows use.
// A second call re-reads the export definition and the accrual titles.
// Without the export definition it writes a note and throws EndProgram{1}. Any other failure
// is logged under "GetChronelData" and ends the run: rows stored until then stay, and
// Employee and PayType keep their content unless the failure came while they were refilled.
void GetChronelData(modErrorLog& log, InterfaceDatabase& interfaceDb, ExtractionState& state);

}  // namespace vantrell
