#pragma once

#include <ostream>
#include <string>

#include "diag/Clock.h"
#include "qblink/RequestProcessor.h"
#include "shell/cli/CliOptions.h"
#include "shell/window/FrontEnd.h"
#include "shell/window/ProgramStart.h"
#include "shell/window/modVantrellMain.h"

namespace vantrell {

// Exit statuses of the headless front end beyond those of every front end (modVantrellMain.h).
inline constexpr int kExitIssuesRemain = 2;   // --export given, but Export is not enabled
inline constexpr int kExitTicketsRemain = 3;  // the export ran and tickets stayed in the stage

// Runs the main window's load, activation, the export when asked and possible, and unload,
// with no display. The list's final lines go to `out`; message boxes, the locate dialog's label
// and the tickets that stayed after an export go to `err`. Returns the exit status.
int runHeadless(const CliOptions& options, SettingsStore& settings, Clock& clock, std::ostream& out,
                std::ostream& err);

// The same with the platform's own choice of request processors (Windows adds its COM one).
int runHeadless(const CliOptions& options, SettingsStore& settings, Clock& clock, std::ostream& out,
                std::ostream& err, const ProcessorChooser& chooseProcessor);

}  // namespace vantrell
