// vantrell.exe: the desktop program on Windows.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <exception>
#include <filesystem>
#include <optional>
#include <string>

#include "diag/Clock.h"
#include "diag/FileSystem.h"
#include "diag/Utf16.h"
#include "shell/win32/CommandLine.h"
#include "shell/win32/RegistrySettingsStore.h"
#include "shell/win32/Win32MainWindow.h"
#include "shell/win32/Win32Prompter.h"
#include "shell/win32/WindowsProcessorChoice.h"
#include "shell/win32/WindowsProgramFolder.h"
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
            // An empty folder would silently become the executable's own.
            if (options.dataDir && options.dataDir->empty()) {
                error = "--data-dir needs a folder, not an empty text";
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

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    GuiOptions options;
    std::string error;
    if (!parseOptions(vantrell::win32::utf8Arguments(__argc, __wargv), options, error)) {
        showUsage(error);
        return error.empty() ? vantrell::kExitNormal : 64;
    }
    vantrell::RequestProcessorFactory factory;
    try {
        factory = vantrell::win32::windowsProcessorFactoryFor(options.processor);
    } catch (const std::exception& e) {
        showUsage(e.what());
        return 64;
    }

    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    // The request processor and the file-open dialog need a single-threaded apartment.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

    const vantrell::ProgramFolder folder = vantrell::win32::windowsProgramFolder(
        options.dataDir
            ? std::optional<std::filesystem::path>(vantrell::utf8ToPath(*options.dataDir))
            : std::nullopt);
    std::error_code ignored;
    std::filesystem::create_directories(folder.path(), ignored);

    vantrell::win32::Win32Prompter prompter;
    vantrell::SystemClock clock;
    vantrell::modErrorLog log(folder, prompter, clock);
    vantrell::ProgramState state;
    vantrell::win32::RegistrySettingsStore settings;

    const int status = vantrell::Main(log, state, [&] {
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
    });
    if (SUCCEEDED(com)) {
        CoUninitialize();
    }
    return status;
}
