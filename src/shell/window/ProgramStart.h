#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "diag/Clock.h"
#include "diag/ProgramFolder.h"
#include "diag/Prompter.h"
#include "diag/modErrorLog.h"
#include "qblink/RequestProcessor.h"
#include "shell/window/ProgramState.h"

namespace vantrell {

// Why every front end refuses an empty --data-dir: it would silently become the executable's
// own folder.
inline constexpr const char* kEmptyDataDir = "--data-dir needs a folder, not an empty text";

// Makes the request-processor factory that the --processor option names; throws for a name it
// does not know.
using ProcessorChooser = std::function<RequestProcessorFactory(const std::string&)>;

// Picks the program folder from --data-dir (none when not given), as the platform does it.
using FolderResolver = std::function<ProgramFolder(const std::optional<std::filesystem::path>&)>;

// Runs the main window until it closes, with the error log, the program state and the request
// processor of the start; returns the exit status.
using MainWindowRunner =
    std::function<int(modErrorLog&, ProgramState&, const RequestProcessorFactory&)>;

// What a front end brings to the start it shares with the others.
struct ProgramStart {
    std::optional<std::string> dataDir;  // --data-dir as given (UTF-8); none for the default
    std::string processor;               // --processor as given
    ProcessorChooser chooseProcessor;
    FolderResolver resolveFolder;
    // Shows why the --processor value was refused; the program then ends with kExitUsage.
    std::function<void(const std::string& reason)> refuse;
    // Optional: what the front end readies once the command line is accepted, before the
    // program folder is looked for (the Win32 windows: common controls and COM).
    std::function<void()> onProcessorChosen;
    // Optional: looks at the program folder before anything is made in it; a status it returns
    // ends the program there (the headless front end's listing and undo of exports, which
    // need the interface database that is there already).
    std::function<std::optional<int>(const ProgramFolder&)> checkFolder;
};

// The start of every front end, in this order: the request processor that `start.processor`
// names (a name the chooser refuses goes to `start.refuse` and the result is kExitUsage), then
// the program folder, whole (a relative --data-dir is taken from the current folder), checked
// by `start.checkFolder` and made when missing (a folder that cannot be made shows when its
// first file is written), then Main over the error log in that folder (shown through `prompter`,
// stamped by `clock`), which runs `runMainWindow`. Returns the exit status.
int startProgram(const ProgramStart& start, Prompter& prompter, Clock& clock,
                 const MainWindowRunner& runMainWindow);

}  // namespace vantrell
