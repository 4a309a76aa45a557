#pragma once

#include <cstddef>

#include "diag/modErrorLog.h"
#include "shell/window/FrontEnd.h"
#include "shell/window/MainWindowSteps.h"
#include "shell/window/NameMapList.h"
#include "shell/window/ProgramState.h"

namespace vantrell {

// The steps behind the name map's commands, the same for every front end. Each one that changes
// the map changes it in one transaction and then runs the main window's activation, so that its
// list shows what the stage holds now. Failures are logged, which shows them; nothing throws but
// an order to end the program.

// Whether "Map to a QuickBooks name…" applies to line `line` of the main window's list: a
// missing employee's or pay type's line, or a line under it about it.
bool mapNameApplies(MainWindowSteps& steps, std::size_t line);

// "Map to a QuickBooks name…" on line `line`: asks the accounting system (with the hourglass)
// for its names of the line's kind and shows the choice through `host`. True when OK stored an
// entry. A line about no missing name does nothing; when the names cannot be asked for, that is
// logged under "MapName" and no dialog opens.
bool runMapNameCommand(modErrorLog& log, ProgramState& state, MainWindowSteps& steps,
                       WindowControls& controls, NameChoiceHost& host, std::size_t line);

// The name map window's "Change…" on row `row` of `list`: the same choice for that entry's name,
// starting on its QuickBooks name; `list` is read again after a change. True when changed. A
// damaged row, or no row, does nothing.
bool runChangeMapEntryCommand(modErrorLog& log, MainWindowSteps& steps, WindowControls& controls,
                              NameChoiceHost& host, NameMapList& list, std::size_t row);

// The name map window's "Remove…" on row `row` of `list`: asks `question`, naming the entry,
// then removes it (a damaged row by its row number); `list` is read again. True when removed.
bool runRemoveMapEntryCommand(modErrorLog& log, MainWindowSteps& steps, YesNoQuestion& question,
                              NameMapList& list, std::size_t row);

}  // namespace vantrell
