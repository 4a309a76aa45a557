#pragma once

#include <string>
#include <vector>

#include "shell/window/TicketTable.h"
#include "shell/window/TicketTotals.h"

namespace vantrell {

// A table and its totals as tab-separated lines for a terminal: the table's header and rows
// in the order shown, an empty line, then the totals' header and rows. A tab or line break
// inside a name becomes a space, so that each ticket stays one line of fields.
std::vector<std::string> tabSeparatedLines(const TicketTable& table,
                                           const std::vector<TotalsRow>& totals);

}  // namespace vantrell
