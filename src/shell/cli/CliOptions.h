#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vantrell {

// The headless front end's command line.
struct CliOptions {
    std::optional<std::string> dataDir;
    std::optional<std::string> chronel;
    std::optional<std::string> company;
    std::string processor = "sim";
    bool processorGiven = false;  // --processor was on the command line
    bool exportTickets = false;
    bool listExports = false;
    bool review = false;  // after the activation, the staged tickets and totals instead of the list
    std::optional<std::string> undoExport;  // the export ID as given, checked when run
    bool help = false;
};

// Reads the arguments (without the program name). Throws std::invalid_argument with a message
// for an unknown option or a missing value.
CliOptions parseCliOptions(const std::vector<std::string>& args);

inline constexpr const char* kCliUsage =
    "usage: vantrell-cli [--data-dir DIR] [--chronel FILE] [--company FILE]\n"
    "                    [--processor sim|replay:DIR] [--export | --review]\n"
    "       vantrell-cli [--data-dir DIR] --list-exports\n"
    "       vantrell-cli [--data-dir DIR] [--company FILE] [--processor sim|replay:DIR]\n"
    "                    --undo-export ID\n";

}  // namespace vantrell
