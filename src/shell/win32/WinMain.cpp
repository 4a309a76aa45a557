// vantrell.exe: the desktop program on Windows.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "diag/Clock.h"
#include "diag/Utf16.h"
#include "shell/win32/CommandLine.h"
#include "shell/win32/RegistrySettingsStore.h"
#include "shell/win32/Win32MainWindow.h"
#include "shell/win32/Win32Prompter.h"
#include "shell/win32/WindowsProcessorChoice.h"
#include "shell/win32/WindowsProgramFolder.h"
#include "shell/window/ProgramStart.h"
#include "shell/window/modVantrellMain.h"

namespace {

constexpr const char* kUsage =
    "usage: vantrell [--data-dir DIR] [--processor qbxmlrp|sim|replay:DIR]\n\n"
    "--data-dir: the folder for Vantrell.mdb, the log and the trace files.\n"
    "--processor: the accounting system's own request processor (qbxmlrp, the default), the "
    "simulated one (sim), or saved responses (replay:DIR).";

struct GuiOptions {
    std::optional<std::string> dataDir;
    std::string processor = vantrell::win32::kComProcessorName;
};

// Reads the arguments; false, with the reason, when they are not understood.
bool parseOptions(const std::vector<std::string>& args, GuiOptions& options, std::string& error) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--data-dir" || arg == "--processor") {
            if (i + 1 >= args.size()) {
                error = arg + " needs a value";
                return false;
            }
            (arg == "--data-dir" ? options.dataDir.emplace() : options.processor) = args[++i];
            if (options.dataDir && options.dataDir->empty()) {
                error = vantrell::kEmptyDataDir;
                return false;
            }
        } else {
            error = arg == "--help" || arg == "-h" ? "" : "unknown option " + arg;
            return false;
        }
    }
    return true;
}

void showUsage(const std::string& error) {
    const std::string text = error.empty() ? kUsage : error + "\n\n" + kUsage;
    MessageBoxW(
        nullptr, vantrell::widen(text).c_str(), L"Vantrell",
        static_cast<UINT>(MB_OK | (error.empty() ? MB_ICONINFORMATION : MB_ICONEXCLAMATION)));
}

// Shows the main window until it closes; returns the exit status.
int runMainWindow(vantrell::modErrorLog& log, vantrell::ProgramState& state,
                  vantrell::SettingsStore& settings,
                  const vantrell::RequestProcessorFactory& factory) {
    try {
        vantrell::win32::Win32MainWindow window(log, state, settings, factory);
        if (!window.load()) {
            return window.endStatus() >= 0 ? window.endStatus() : vantrell::kExitEndedEarly;
        }
        window.show();
        return window.runMessageLoop();
    } catch (const std::exception&) {
        // The window itself could not be made (its resources are missing or damaged).
        log.WriteLogEntry("ERROR", "Main", "");
        return vantrell::kExitEndedEarly;
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    GuiOptions options;
    std::string error;
    if (!parseOptions(vantrell::win32::utf8Arguments(__argc, __wargv), options, error)) {
        showUsage(error);
        return error.empty() ? vantrell::kExitNormal : vantrell::kExitUsage;
    }
    // Not initialised until the command line has been accepted.
    HRESULT com = E_FAIL;
    vantrell::ProgramStart start;
    start.dataDir = options.dataDir;
    start.processor = options.processor;
    start.chooseProcessor = vantrell::win32::windowsProcessorFactoryFor;
    start.resolveFolder = vantrell::win32::windowsProgramFolder;
    start.refuse = showUsage;
    start.onProcessorChosen = [&com] {
        const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        // The request processor and the file-open dialog need a single-threaded apartment.
        com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    };

    vantrell::win32::Win32Prompter prompter;
    vantrell::SystemClock clock;
    vantrell::win32::RegistrySettingsStore settings;
    const int status =
        vantrell::startProgram(start, prompter, clock,
                               [&](vantrell::modErrorLog& log, vantrell::ProgramState& state,
                                   const vantrell::RequestProcessorFactory& factory) {
                                   return runMainWindow(log, state, settings, factory);
                               });
    if (SUCCEEDED(com)) {
        CoUninitialize();
    }
    return status;
}
