#include "shell/win32/GuiCommandLine.h"

#include "shell/window/ProgramStart.h"

namespace vantrell::win32 {

bool parseGuiOptions(const std::vector<std::string>& args, GuiOptions& options,
                     std::string& error) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--data-dir" || arg == "--processor") {
            if (i + 1 >= args.size()) {
                error = arg + " needs a value";
                return false;
            }
            (arg == "--data-dir" ? options.dataDir.emplace() : options.processor) = args[++i];
            if (options.dataDir && options.dataDir->empty()) {
                error = kEmptyDataDir;
                return false;
            }
        } else {
            error = arg == "--help" || arg == "-h" ? "" : "unknown option " + arg;
            return false;
        }
    }
    return true;
}

void showGuiUsage(Prompter& prompter, const std::string& error) {
    if (error.empty()) {
        prompter.show(kGuiUsage, "NOTE", MessageIcon::Information);
    } else {
        prompter.show(error + "\n\n" + kGuiUsage, "ERROR", MessageIcon::Warning);
    }
}

}  // namespace vantrell::win32
