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

// The program folder that --data-dir or the platform names, whole: the program's files are
// found there even after something (a file dialog) has changed the current folder.
ProgramFolder findProgramFolder(const ProgramStart& start) {
    const ProgramFolder folder = start.resolveFolder(
        start.dataDir ? std::optional<std::filesystem::path>(utf8ToPath(*start.dataDir))
                      : std::nullopt);
    return ProgramFolder(fullPath(folder.path()));
}

// Makes the folder when missing. One that cannot be made shows when the log or the database
// is first written.
void makeProgramFolder(const ProgramFolder& folder) {
    std::error_code ignored;
    std::filesystem::create_directories(folder.path(), ignored);
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
    const ProgramFolder folder = findProgramFolder(start);
    if (start.checkFolder) {
        if (const std::optional<int> status = start.checkFolder(folder)) {
            return *status;
        }
    }
    makeProgramFolder(folder);
    modErrorLog log(folder, prompter, clock);
    ProgramState state;
    return Main(log, state, [&] { return runMainWindow(log, state, *factory); });
}

}  // namespace vantrell
