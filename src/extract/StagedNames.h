#pragma once

#include "diag/modErrorLog.h"
#include "extract/ExtractionState.h"

namespace vantrell {

// Refills Employee with the distinct Name values of Punch, then PayType with the distinct
// PayType values, through `interface` (state.rsPunch holds the grouping). Throws on the
// first failure; a table is then left partly refilled.
void rebuildStagedNames(modErrorLog& log, db::Connection& interface, ExtractionState& state);

}  // namespace vantrell
