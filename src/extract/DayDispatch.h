#pragma once

#include "diag/modErrorLog.h"
#include "extract/ExtractionState.h"

namespace vantrell {

// Stages the Punch rows of the current day of state.rsReportData: the regular pay types (and
// the differential ones when UseDiff is true) for a worked day, the accrual or holiday pay
// types for a non-worked day whose code is recognised, nothing for any other code. A day whose
// code could not be categorised (strNonWkdCode failed) is noted as not staged.
// Throws when the day's Reg, OT1 or OT2 is not a number, or UseDiff is not a Yes/No value;
// the builders' own failures are logged by them.
void stageDay(modErrorLog& log, ExtractionState& state);

}  // namespace vantrell
