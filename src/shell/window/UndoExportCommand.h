#pragma once

#include <optional>
#include <vector>

#include "diag/modErrorLog.h"
#include "shell/window/ExportHistory.h"
#include "shell/window/FrontEnd.h"
#include "shell/window/MainWindowSteps.h"
#include "shell/window/UndoOutcomeText.h"

namespace vantrell {

// The steps behind the history's "Undo export…", the same for every front end: asks
// `question` with the export's confirmation text, then with the hourglass undoes it through
// the main window's session, reads the history again and runs the main window's activation,
// so that its list shows what the stage holds now. Returns the lines that say what happened;
// nothing when no export (or a damaged one) is selected or the clerk said No. A failure is
// logged, which shows it, and said in the lines.
std::optional<std::vector<UndoLine>> runUndoExportCommand(modErrorLog& log, ExportHistory& history,
                                                          YesNoQuestion& question,
                                                          MainWindowSteps& steps,
                                                          WindowControls& controls);

}  // namespace vantrell
