#pragma once

#include <ostream>
#include <string>

#include "diag/modErrorLog.h"
#include "qblink/QuickBooksLink.h"
#include "shell/window/ProgramState.h"

namespace vantrell {

// --list-exports: one line per export of the posting journal, oldest first, tab-separated:
// ID, finish time (yyyy-mm-dd hh:mm:ss, empty while unfinished), tickets posted, tickets
// undone. Needs only the interface database at state.strInterfaceDB. Returns the exit status:
// 0, or 1 with the reason on `err` when the journal cannot be read.
int listExports(const ProgramState& state, std::ostream& out, std::ostream& err);

// --undo-export ID: deletes in the accounting system, through `link`'s open session, every
// ticket of that export not yet undone, and says what happened on `out`, each ticket the
// accounting system kept on `err`. Returns 0 when every ticket of the export is gone, 3 when
// some remain, 1 for an ID that names no export or when the undo could not be carried out
// (logged as an error).
int undoExport(modErrorLog& log, QuickBooksLink& link, const std::string& idText, std::ostream& out,
               std::ostream& err);

}  // namespace vantrell
