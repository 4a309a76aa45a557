// vantrell-cli: the main window's logic without a display.
#include <iostream>
#include <string>
#include <vector>

#include "diag/Clock.h"
#include "shell/cli/CliCommandLine.h"
#include "shell/cli/CliRun.h"
#include "shell/settings/QtSettingsStore.h"

int main(int argc, char** argv) {
    vantrell::CliOptions options;
    if (const auto status = vantrell::readCliCommandLine(
            std::vector<std::string>(argv + 1, argv + argc), options, std::cout, std::cerr)) {
        return *status;
    }
    vantrell::QtSettingsStore settings;
    vantrell::SystemClock clock;
    return vantrell::runHeadless(options, settings, clock, std::cout, std::cerr);
}
