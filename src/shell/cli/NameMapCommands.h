#pragma once

#include <ostream>

#include "shell/cli/CliOptions.h"
#include "shell/window/ProgramState.h"

namespace vantrell {

// --map-employee, --map-pay-type, --unmap and --list-maps on the name map of the interface
// database at state.strInterfaceDB. A change is stored in one transaction and said on `out`;
// the list is one line per entry, tab-separated: kind ("employee", "pay type"), the
// time-and-attendance name, the accounting system's name. Returns the exit status: 0, or 1
// with the reason on `err` for a refused entry (a name mapped to itself, too long, empty), an
// entry to remove that is not there, a damaged row of the map (named; the others are still
// listed) or a map that cannot be read or written.
int runNameMapCommand(const CliOptions& options, const ProgramState& state, std::ostream& out,
                      std::ostream& err);

}  // namespace vantrell
