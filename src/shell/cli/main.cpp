// vantrell-cli: the main window's logic without a display.
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "diag/Clock.h"
#include "shell/cli/CliRun.h"
#include "shell/settings/QtSettingsStore.h"

int main(int argc, char** argv) {
    vantrell::CliOptions options;
    try {
        options = vantrell::parseCliOptions(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::invalid_argument& e) {
        std::cerr << "vantrell-cli: " << e.what() << '\n' << vantrell::kCliUsage;
        return vantrell::kExitUsage;
    }
    if (options.help) {
        std::cout << vantrell::kCliUsage;
        return 0;
    }
    vantrell::QtSettingsStore settings;
    vantrell::SystemClock clock;
    return vantrell::runHeadless(options, settings, clock, std::cout, std::cerr);
}
