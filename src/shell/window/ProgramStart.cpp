#include "shell/window/ProgramStart.h"

#include <exception>
#include <system_error>

#include "diag/FileSystem.h"
#include "shell/window/modVantrellMain.h"

namespace vantrell {

namespace {

// The factory that `start.processor` names, or none after the refusal has been shown.
std::optional<RequestProcessorFactory> chooseProcessor(const ProgramStart& start) {
    try {
        return start.chooseProcessor(start.processor);
    } catch (const std::exception& e) {
        start.refuse(e.what());
        return std::nullopt;
    }
}

// The program folder that --data-dir or the platform names, made when missing.
ProgramFolder makeProgramFolder(const ProgramStart& start) {
    const ProgramFolder folder = start.resolveFolder(
        start.dataDir ? std::optional<std::filesystem::path>(utf8ToPath(*start.dataDir))
                      : std::nullopt);
    // A folder that cannot be made shows when the log or the database is first written.
    std::error_code ignored;
    std::filesystem::create_directories(folder.path(), ignored);
    return folder;
}

}  // namespace

int startProgram(const ProgramStart& start, Prompter& prompter, Clock& clock,
                 const MainWindowRunner& runMainWindow) {
    const std::optional<RequestProcessorFactory> factory = chooseProcessor(start);
    if (!factory) {
        return kExitUsage;
    }
    if (start.onProcessorChosen) {
        start.onProcessorChosen();
    }
    modErrorLog log(makeProgramFolder(start), prompter, clock);
    ProgramState state;
    if (start.onFolderReady) {
        start.onFolderReady();
    }
    return Main(log, state, [&] { return runMainWindow(log, state, *factory); });
}

}  // namespace vantrell
