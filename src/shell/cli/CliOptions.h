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
    // The name map: --map-employee / --map-pay-type FROM TO, --unmap KIND FROM, --list-maps.
    enum class MapCommand { None, Map, Unmap, List };
    MapCommand mapCommand = MapCommand::None;
    bool mapEmployee = true;  // the kind of --map-... and --unmap; false: pay type
    std::string mapFrom;
    std::string mapTo;
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
    "       vantrell-cli [--data-dir DIR] --map-employee FROM TO | --map-pay-type FROM TO\n"
    "                    | --unmap employee|pay-type FROM | --list-maps\n"
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
    "  --map-employee FROM TO\n"
    "                     stages the time-and-attendance employee FROM as the accounting\n"
    "                     system's employee TO from the next run on\n"
    "  --map-pay-type FROM TO\n"
    "                     the same for a pay type and a wage item\n"
    "  --unmap employee|pay-type FROM\n"
    "                     removes the map entry of FROM\n"
    "  --list-maps        lists the name map: kind, FROM and TO, tab-separated\n"
    "  --help, --version  this text; the program's version\n"
    "\n"
    "Exit status: 0 normal; 1 the program ended early (the message says why, and\n"
    "VantrellLog.txt), or a map entry was refused or not found;\n"
    "2 --export given, but issues remain; 3 tickets remain: the export left some in the\n"
    "stage, or the undo could not delete some; 64 the command line was not understood.\n";

}  // namespace vantrell
