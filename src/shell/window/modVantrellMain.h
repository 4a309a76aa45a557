#pragma once

#include <functional>

#include "diag/modErrorLog.h"
#include "interfacedb/ProgramState.h"

namespace vantrell {

// Exit statuses of the front ends.
inline constexpr int kExitNormal = 0;
inline constexpr int kExitEndedEarly = 1;

// The program's start: prepares the interface database (a failure is noted with "Couldn't
// configure the interface." and ends the program, status kExitEndedEarly), then runs
// `runMainWindow`, which creates, shows and runs the main window until it closes and returns
// the exit status. A request to end the program at once (EndProgram) ends it with its status.
int Main(modErrorLog& log, ProgramState& state, const std::function<int()>& runMainWindow);

}  // namespace vantrell
