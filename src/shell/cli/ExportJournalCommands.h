#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "diag/modErrorLog.h"
#include "qblink/RequestProcessor.h"
#include "shell/window/ProgramState.h"

namespace vantrell {

// --list-exports: one line per export of the posting journal, oldest first, tab-separated:
// ID, finish time (yyyy-mm-dd hh:mm:ss, empty while unfinished), tickets posted, tickets
// undone, tickets sent whose fate is not known yet (unconfirmed), the company file. Then, when
// the check took tickets off the stage that no export had sent, one line saying how many. A
// damaged journal row is named on `err` and the others are still listed. Needs only the
// interface database at state.strInterfaceDB. Returns the exit status: 0, or 1 with the reason
// on `err` when the journal cannot be read or a row of it is damaged.
int listExports(const ProgramState& state, std::ostream& out, std::ostream& err);

// --show-export ID: the receipt of one export, tab-separated: its summary lines, then a line
// per ticket (employee, date, wage item, hours, TxnID, state, and why a damaged row is
// damaged), an empty line, then the totals of the tickets it left in QuickBooks. Needs only
// the interface database. Returns 0, or 1 with the reason on `err` for an ID that names no
// export or a journal that cannot be read.
int showExport(const ProgramState& state, const std::string& idText, std::ostream& out,
               std::ostream& err);

// --undo-export ID: opens a session on the company file export ID was posted to (refusing a
// `company` given on the command line that names another file; an export recorded before
// the journal held its file goes to `company` or, without it, `storedCompany`), deletes
// there every confirmed ticket of that export not yet undone that still matches its journal
// row, and says what happened on `out`, each ticket left in place on `err`. Returns 0 when
// every ticket of the export is gone, 3 when some remain, are unconfirmed or the undo could
// not be recorded, 1 for an ID that names no export, a refused company file, or when the undo
// could not be carried out (logged as an error).
int undoExport(modErrorLog& log, ProgramState& state, const RequestProcessorFactory& factory,
               const std::string& idText, const std::optional<std::string>& company,
               const std::string& storedCompany, std::ostream& out, std::ostream& err);

}  // namespace vantrell
