#pragma once

#include "diag/modErrorLog.h"
#include "interfacedb/ProgramState.h"

namespace vantrell {

// Refills Employee with the distinct Name values of Punch, then PayType with the distinct
// PayType values, through state.cnInterface (state.rsPunch holds the grouping). Throws on the
// first failure; a table is then left partly refilled.
void rebuildStagedNames(modErrorLog& log, ProgramState& state);

}  // namespace vantrell
