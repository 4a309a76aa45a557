#pragma once

#include <string>

#include "diag/modErrorLog.h"
#include "extract/ExtractionState.h"

namespace vantrell {

// The category of a non-worked code: "ACCRUAL1", "ACCRUAL2" or "ACCRUAL3" when the first,
// second or third accrual title of state.rsRules begins with it, else "HOLIDAY" when the
// export definition's HOSTD pay type does, else the code itself. Letter case is ignored; the
// titles are read in that order, each only when the ones before did not match.
// A failure (no titles row, a Null title or HOSTD reached) is logged under "strNonWkdCode" with
// the code as the message and gives the empty text. Never throws.
std::string strNonWkdCode(modErrorLog& log, ExtractionState& state, const std::string& strCode);

}  // namespace vantrell
