#pragma once

#include <optional>
#include <string>
#include <vector>

#include "diag/Prompter.h"

namespace vantrell::win32 {

// The usage of vantrell.exe, shown in a message box (the program has no console).
inline constexpr const char* kGuiUsage =
    "usage: vantrell [--data-dir DIR] [--processor qbxmlrp|sim|replay:DIR]\n\n"
    "--data-dir: the folder for Vantrell.mdb, the log and the trace files.\n"
    "--processor: the accounting system's own request processor (qbxmlrp, the default), the "
    "simulated one (sim), or saved responses (replay:DIR).";

// The command line of vantrell.exe.
struct GuiOptions {
    std::optional<std::string> dataDir;
    std::string processor;  // the Windows default when not given
};

// Reads the arguments (without the program name) into `options`; false when the program ends
// here, with the reason in `error` (empty for --help).
bool parseGuiOptions(const std::vector<std::string>& args, GuiOptions& options, std::string& error);

// Shows the usage: under "ERROR", after the reason, for a command line that was not understood
// (`error` not empty), as every failure box is titled; under "NOTE" for --help.
void showGuiUsage(Prompter& prompter, const std::string& error);

}  // namespace vantrell::win32
