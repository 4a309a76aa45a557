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
#include "shell/win32/GuiCommandLine.h"
#include "shell/win32/RegistrySettingsStore.h"
#include "shell/win32/Win32MainWindow.h"
#include "shell/win32/Win32Prompter.h"
#include "shell/win32/WindowsProcessorChoice.h"
#include "shell/win32/WindowsProgramFolder.h"
#include "shell/window/ProgramStart.h"
#include "shell/window/modVantrellMain.h"

namespace {

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
    vantrell::win32::GuiOptions options;
    options.processor = vantrell::win32::kComProcessorName;
    std::string error;
    vantrell::win32::Win32Prompter prompter;
    if (!vantrell::win32::parseGuiOptions(vantrell::win32::utf8Arguments(__argc, __wargv), options,
                                          error)) {
        vantrell::win32::showGuiUsage(prompter, error);
        return error.empty() ? vantrell::kExitNormal : vantrell::kExitUsage;
    }
    // Not initialised until the command line has been accepted.
    HRESULT com = E_FAIL;
    vantrell::ProgramStart start;
    start.dataDir = options.dataDir;
    start.processor = options.processor;
    start.chooseProcessor = vantrell::win32::windowsProcessorFactoryFor;
    start.resolveFolder = vantrell::win32::windowsProgramFolder;
    start.refuse = [&prompter](const std::string& reason) {
        vantrell::win32::showGuiUsage(prompter, reason);
    };
    start.onProcessorChosen = [&com] {
        const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        // The request processor and the file-open dialog need a single-threaded apartment.
        com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    };

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
