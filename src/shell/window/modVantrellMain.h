#pragma once

#include <functional>

#include "diag/modErrorLog.h"
#include "shell/window/ProgramState.h"

namespace vantrell {

// Exit statuses of the front ends.
inline constexpr int kExitNormal = 0;
inline constexpr int kExitEndedEarly = 1;
inline constexpr int kExitUsage = 64;  // the command line was not understood

// The note of a copy started on a program folder that another copy is using; it ends at once.
inline constexpr const char* kAlreadyRunning =
    "Another copy of the program is using this program folder. Close it first.";

// The first line of the error shown when the program folder's lock cannot be taken (the file is
// read-only, a folder stands in its place, ...); the lock file's path and the system's reason
// follow. Without the lock a second copy could post the same stage again, so the program ends.
inline constexpr const char* kLockUnavailable =
    "The program folder could not be locked against a second copy of the program.";

// The program's start: ends at once with the note kAlreadyRunning when another copy holds the
// program folder, and with the error kLockUnavailable when its lock cannot be taken; prepares the
// interface database (a failure is noted with "Couldn't configure the interface." and ends the
// program, status kExitEndedEarly), then runs `runMainWindow`, which creates, shows and runs the
// main window until it closes and returns the exit status. A request to end the program at once
// (EndProgram) ends it with its status.
int Main(modErrorLog& log, ProgramState& state, const std::function<int()>& runMainWindow);

}  // namespace vantrell
