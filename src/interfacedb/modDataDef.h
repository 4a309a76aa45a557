#pragma once

#include <string>

#include "diag/modErrorLog.h"
#include "interfacedb/EngineRefs.h"

namespace vantrell {

// The database helpers. Each logs its own failure and returns False; none throws.

// Opens `cn` (created when empty) on the file at `path`, unless its connection string is
// already set. A failure is logged with the path as its message.
bool blnOpenConnection(modErrorLog& log, ConnectionRef& cn, const std::string& path);

// Closes `cn` when its state is exactly open, connecting, executing or fetching, then empties
// the reference. An empty reference, or any other state, is left alone and gives True.
bool blnCloseConnection(modErrorLog& log, ConnectionRef& cn);

// The same for a result set.
bool blnCloseRecordset(modErrorLog& log, RecordsetRef& rs);

// True when the freshly opened `rs` has at least one row; False when it is empty or on failure.
bool blnHasRecords(modErrorLog& log, RecordsetRef& rs);

}  // namespace vantrell
