// vantrell-cli.exe: the main window's logic without a display, as on Linux; settings in the
// registry and, unless --processor says otherwise, the accounting system's own request
// processor.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include <iostream>
#include <string>

#include "diag/Clock.h"
#include "diag/FileSystem.h"
#include "shell/cli/CliCommandLine.h"
#include "shell/cli/CliRun.h"
#include "shell/win32/CommandLine.h"
#include "shell/win32/RegistrySettingsStore.h"
#include "shell/win32/WindowsProcessorChoice.h"
#include "shell/win32/WindowsProgramFolder.h"

int wmain(int argc, wchar_t** argv) {
    // The output is the same bytes as on Linux: UTF-8, lines ended by "\n" alone (the message
    // boxes' own CR LF stay as they are). A console shows it as UTF-8.
    SetConsoleOutputCP(CP_UTF8);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    const std::string helpNote = std::string("On Windows --processor also takes ") +
                                 vantrell::win32::kComProcessorName +
                                 ", the accounting system's own request processor, which is the "
                                 "default; the default --data-dir is %LOCALAPPDATA%\\Vantrell "
                                 "where the program's own folder cannot be written.\n";
    vantrell::CliOptions options;
    if (const auto status = vantrell::readCliCommandLine(vantrell::win32::utf8Arguments(argc, argv),
                                                         options, std::cout, std::cerr, helpNote)) {
        return *status;
    }
    if (!options.processorGiven) {
        options.processor = vantrell::win32::kComProcessorName;
    }
    if (!options.dataDir) {
        options.dataDir =
            vantrell::pathToUtf8(vantrell::win32::windowsProgramFolder(std::nullopt).path());
    }
    vantrell::win32::RegistrySettingsStore settings;
    vantrell::SystemClock clock;
    return vantrell::runHeadless(options, settings, clock, std::cout, std::cerr,
                                 vantrell::win32::windowsProcessorFactoryFor);
}
