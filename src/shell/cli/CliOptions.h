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
    std::optional<std::string> showExport;  // likewise
    bool help = false;
    bool version = false;
};

// Reads the arguments (without the program name). Throws std::invalid_argument with a message
// for an unknown option or a missing value.
CliOptions parseCliOptions(const std::vector<std::string>& args);

inline constexpr const char* kCliUsage =
    "usage: vantrell-cli [--data-dir DIR] [--chronel FILE] [--company FILE]\n"
    "                    [--processor sim|replay:DIR] [--export | --review]\n"
    "       vantrell-cli [--data-dir DIR] --list-exports | --show-export ID\n"
    "       vantrell-cli [--data-dir DIR] [--company FILE] [--processor sim|replay:DIR]\n"
    "                    --undo-export ID\n"
    "       vantrell-cli --help | --version\n";

// What --help adds to the usage lines: each option and each exit status.
inline constexpr const char* kCliHelp =
    "\n"
    "Runs the main window's load and activation without a display: stages the hours of the\n"
    "time-and-attendance file, checks the names against the company file, lists the issues\n"
    "(standard output) and posts the time tickets when asked.\n"
    "\n"
    "  --data-dir DIR     folder of Vantrell.mdb, VantrellLog.txt and the trace files\n"
    "                     (default: VANTRELL_DATA_DIR, else the program's own folder)\n"
    "  --chronel FILE     the time-and-attendance file; stored for the next runs\n"
    "  --company FILE     the accounting system's company file; stored for the next runs\n"
    "  --processor NAME   the request processor: sim (the stand-in accounting system) or\n"
    "                     replay:DIR (answers saved in DIR)\n"
    "  --export           posts the staged tickets when no issue remains\n"
    "  --list-exports     lists the exports recorded in Vantrell.mdb\n"
    "  --show-export ID   prints the time tickets of export ID and their totals\n"
    "  --undo-export ID   deletes the time tickets of export ID in the accounting system\n"
    "  --help, --version  this text; the program's version\n"
    "\n"
    "Exit status: 0 normal; 1 the program ended early (the message says why, and\n"
    "VantrellLog.txt); 2 --export given, but issues remain; 3 tickets remain: the export\n"
    "left some in the stage, or the undo could not delete some; 64 the command line was not\n"
    "understood.\n";

}  // namespace vantrell
