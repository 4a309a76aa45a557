#include "shell/cli/CliOptions.h"

#include <stdexcept>

#include "shell/window/ProgramStart.h"

namespace vantrell {

CliOptions parseCliOptions(const std::vector<std::string>& args) {
    CliOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto value = [&]() -> std::string {
            if (i + 1 >= args.size()) {
                throw std::invalid_argument(arg + " needs a value");
            }
            return args[++i];
        };
        if (arg == "--data-dir") {
            options.dataDir = value();
            if (options.dataDir->empty()) {
                throw std::invalid_argument(kEmptyDataDir);
            }
        } else if (arg == "--chronel") {
            options.chronel = value();
        } else if (arg == "--company") {
            options.company = value();
        } else if (arg == "--processor") {
            options.processor = value();
            options.processorGiven = true;
        } else if (arg == "--export") {
            options.exportTickets = true;
        } else if (arg == "--review") {
            options.review = true;
        } else if (arg == "--list-exports") {
            options.listExports = true;
        } else if (arg == "--undo-export") {
            options.undoExport = value();
        } else if ((arg == "--map-employee" || arg == "--map-pay-type" || arg == "--unmap" ||
                    arg == "--list-maps") &&
                   options.mapCommand != CliOptions::MapCommand::None) {
            throw std::invalid_argument("the name map's options go one at a time");
        } else if (arg == "--map-employee" || arg == "--map-pay-type") {
            options.mapCommand = CliOptions::MapCommand::Map;
            options.mapEmployee = arg == "--map-employee";
            options.mapFrom = value();
            options.mapTo = value();
        } else if (arg == "--unmap") {
            const std::string kind = value();
            if (kind != "employee" && kind != "pay-type") {
                throw std::invalid_argument("--unmap takes employee or pay-type, not " + kind);
            }
            options.mapCommand = CliOptions::MapCommand::Unmap;
            options.mapEmployee = kind == "employee";
            options.mapFrom = value();
        } else if (arg == "--list-maps") {
            options.mapCommand = CliOptions::MapCommand::List;
        } else if (arg == "--show-export") {
            options.showExport = value();
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else {
            throw std::invalid_argument("unknown option " + arg);
        }
    }
    if (static_cast<int>(options.exportTickets) + static_cast<int>(options.listExports) +
            static_cast<int>(options.undoExport.has_value()) + static_cast<int>(options.review) +
            static_cast<int>(options.showExport.has_value()) +
            static_cast<int>(options.mapCommand != CliOptions::MapCommand::None) >
        1) {
        throw std::invalid_argument(
            "--export, --review, --list-exports, --show-export, --undo-export and the name "
            "map's options go alone");
    }
    return options;
}

}  // namespace vantrell
