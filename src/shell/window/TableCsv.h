#pragma once

#include <string>

#include "diag/modErrorLog.h"
#include "shell/window/FrontEnd.h"
#include "shell/window/TicketTable.h"

namespace vantrell {

// The file-save dialog's filter for a CSV file.
inline constexpr const char* kCsvFilter = "CSV files (*.csv)|*.csv";

// Asks `dialog` for a file offering `suggestedName` and writes `table` there as CSV, in the
// order shown: the step behind every window's "Save as CSV…". True when written; false when
// the clerk cancelled or it failed: a failure is logged under "SaveCsv" naming the path, which
// shows it to the clerk.
bool saveTableAsCsv(modErrorLog& log, FileSaveDialog& dialog, const TicketTable& table,
                    const std::string& suggestedName);

}  // namespace vantrell
