#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "shell/cli/CliOptions.h"

namespace vantrell {

// Reads the headless front end's arguments (without the program name) into `options`. Returns
// the exit status when the program ends here: kExitUsage after the reason and the usage on
// `err` for arguments it does not understand, kExitNormal after the usage, kCliHelp and
// `helpNote` on `out` for --help, and after "vantrell-cli <version>" for --version; nothing when
// the program goes on.
std::optional<int> readCliCommandLine(const std::vector<std::string>& args, CliOptions& options,
                                      std::ostream& out, std::ostream& err,
                                      std::string_view helpNote = {});

}  // namespace vantrell
