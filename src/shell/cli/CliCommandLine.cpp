#include "shell/cli/CliCommandLine.h"

#include <stdexcept>

#include "VantrellVersion.h"
#include "shell/window/modVantrellMain.h"

namespace vantrell {

std::optional<int> readCliCommandLine(const std::vector<std::string>& args, CliOptions& options,
                                      std::ostream& out, std::ostream& err,
                                      std::string_view helpNote) {
    try {
        options = parseCliOptions(args);
    } catch (const std::invalid_argument& e) {
        err << "vantrell-cli: " << e.what() << '\n' << kCliUsage;
        return kExitUsage;
    }
    if (options.help) {
        out << kCliUsage << kCliHelp << helpNote;
        return kExitNormal;
    }
    if (options.version) {
        out << "vantrell-cli " << kVantrellVersion << '\n';
        return kExitNormal;
    }
    return std::nullopt;
}

}  // namespace vantrell
