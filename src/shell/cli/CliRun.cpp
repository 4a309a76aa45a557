#include "shell/cli/CliRun.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "diag/FileSystem.h"
#include "diag/Guard.h"
#include "diag/ProgramFolder.h"
#include "diag/modErrorLog.h"
#include "interfacedb/InterfaceDatabase.h"
#include "interfacedb/Value.h"
#include "interfacedb/stage/Stage.h"
#include "shell/cli/ExportJournalCommands.h"
#include "shell/cli/HeadlessWindow.h"
#include "shell/cli/NameMapCommands.h"
#include "shell/window/LocationStep.h"
#include "shell/window/StageReview.h"
#include "shell/window/frmVantrell.h"
#include "shell/window/modVantrellMain.h"
#include "standins/ProcessorChoice.h"

namespace vantrell {

namespace {

// The stored settings, except that a location given on the command line stands in for the
// stored one: it is what the user would have chosen in the locate dialog.
class CommandLineSettings final : public SettingsStore {
  public:
    CommandLineSettings(SettingsStore& stored, const CliOptions& options)
        : stored_(stored), options_(options) {}

    std::string GetSetting(const std::string& appName, const std::string& section,
                           const std::string& key, const std::string& defaultValue) override {
        if (key == "CHprog" && options_.chronel) {
            return *options_.chronel;
        }
        if (key == "QBdata" && options_.company) {
            return *options_.company;
        }
        return stored_.GetSetting(appName, section, key, defaultValue);
    }

    void SaveSetting(const std::string& appName, const std::string& section, const std::string& key,
                     const std::string& value) override {
        stored_.SaveSetting(appName, section, key, value);
    }

  private:
    SettingsStore& stored_;
    const CliOptions& options_;
};

// A location given on the command line is stored when it names an existing file, as the locate
// dialog's choice would be. Called once the run holds the program folder and may use it, so
// that a copy that ends at once leaves the settings as they were. A store that cannot be
// written is logged; the given location still serves this run.
void storeGivenLocations(modErrorLog& log, SettingsStore& settings, const CliOptions& options) {
    guard(log, "storeGivenLocations", [&] {
        if (options.chronel && fileExists(utf8ToPath(*options.chronel))) {
            settings.SaveSetting(kSettingsApp, kSettingsSection, "CHprog", *options.chronel);
        }
        if (options.company && fileExists(utf8ToPath(*options.company))) {
            settings.SaveSetting(kSettingsApp, kSettingsSection, "QBdata", *options.company);
        }
    });
}

// The locations of the command line whole, as the file dialog would give them, so that a
// stored one is found again from any folder.
CliOptions withFullPaths(CliOptions options) {
    for (std::optional<std::string>* location :
         {&options.dataDir, &options.chronel, &options.company}) {
        if (*location) {
            **location = pathToUtf8(fullPath(utf8ToPath(**location)));
        }
    }
    return options;
}

// The listing, the undo and the name map's commands work on an interface database that is
// there already: on a folder without one (a mistyped --data-dir, say) they say so and make
// nothing.
std::optional<int> refuseFolderWithoutDatabase(const ProgramFolder& folder, std::ostream& err,
                                               const char* holdsNo) {
    std::error_code error;
    if (std::filesystem::exists(folder.file(kInterfaceDatabaseFileName), error) || error) {
        return std::nullopt;
    }
    err << "There is no " << kInterfaceDatabaseFileName << " in '" << pathToUtf8(folder.path())
        << "': that folder holds no " << holdsNo << ".\n";
    return kExitEndedEarly;
}

// Lists each ticket left in the stage with what became of it: refused (the accounting
// system's message), not processed, posted but not recorded, or of unknown fate. True when any
// is left, or when the stage cannot be read (then nothing can be said to have been posted).
bool reportTicketsLeft(ProgramState& state, const QuickBooksLink& link, std::ostream& err) {
    try {
        const std::vector<stage::StagedTicket> left =
            stage::readStagedTickets(*state.interfaceDb.cnInterface);
        for (const stage::StagedTicket& ticket : left) {
            const QuickBooksLink::TicketLeft why = link.ticketLeftReason(ticket);
            using Fate = QuickBooksLink::TicketFate;
            const char* prefix = why.fate == Fate::AcceptedUnrecorded ? "Not recorded"
                                 : why.fate == Fate::Unknown          ? "Fate unknown"
                                                                      : "Not posted";
            err << prefix << ": ticket " << ticket.sequence << " (" << ticket.name << ", "
                << (ticket.date ? ticket.date->toText() : std::string()) << ", "
                << db::Value(ticket.hours).toText() << " hours, " << ticket.payType
                << "): " << why.reason << '\n';
        }
        return !left.empty();
    } catch (const std::exception& e) {
        err << "The stage could not be read after the export: " << e.what() << '\n';
        return true;
    }
}

// The review of the stage as the activation left it, tab-separated on `out`; nothing is
// exported or changed. A stage that cannot be read is logged under "ReviewStage" (its message
// goes to standard error) and ends the run early.
int printReview(modErrorLog& log, ProgramState& state, QuickBooksLink& link, std::ostream& out) {
    const std::unique_ptr<StageReview> review = openStageReview(log, state, link);
    if (!review) {
        return kExitEndedEarly;
    }
    for (const std::string& line : reviewAsTabSeparatedLines(*review)) {
        out << line << '\n';
    }
    out.flush();
    return kExitNormal;
}

// The main window's run without a display: load, then either the undo of an export or the
// activation with the export when asked; the list's final lines go to `out`. Returns the exit
// status.
int runWindow(const CliOptions& options, modErrorLog& log, ProgramState& state,
              const MainWindowServices& services, HeadlessControls& controls, std::ostream& out,
              std::ostream& err) {
    // An undo goes to the company file its export was posted to, and extracts nothing.
    if (options.undoExport) {
        return undoExport(
            log, state, services.processorFactory, *options.undoExport, options.company,
            services.settings.GetSetting(kSettingsApp, kSettingsSection, "QBdata", ""), out, err);
    }
    frmVantrell window(log, state, services);
    window.Form_Load();
    if (window.isUnloaded()) {
        return kExitEndedEarly;
    }
    window.Form_Activate();

    if (options.review) {
        const int status = printReview(log, state, window.link(), out);
        window.Form_Unload();
        return status;
    }

    int status = kExitNormal;
    if (options.exportTickets) {
        if (!controls.exportEnabled) {
            status = kExitIssuesRemain;
        } else {
            window.cmdExport_Click();
            if (reportTicketsLeft(state, window.link(), err)) {
                status = kExitTicketsRemain;
            }
        }
    }
    for (const auto& line : controls.lines) {
        out << line << '\n';
    }
    out.flush();
    window.Form_Unload();
    return status;
}

}  // namespace

int runHeadless(const CliOptions& options, SettingsStore& settings, Clock& clock, std::ostream& out,
                std::ostream& err) {
    return runHeadless(options, settings, clock, out, err, processorFactoryFor);
}

int runHeadless(const CliOptions& givenOptions, SettingsStore& settings, Clock& clock,
                std::ostream& out, std::ostream& err, const ProcessorChooser& chooseProcessor) {
    const CliOptions options = withFullPaths(givenOptions);
    ProgramStart start;
    start.dataDir = options.dataDir;
    start.processor = options.processor;
    start.chooseProcessor = chooseProcessor;
    start.resolveFolder = ProgramFolder::resolve;
    start.refuse = [&](const std::string& reason) { err << reason << '\n' << kCliUsage; };
    if (options.listExports || options.undoExport || options.showExport) {
        start.checkFolder = [&](const ProgramFolder& folder) {
            return refuseFolderWithoutDatabase(folder, err, "exports");
        };
    } else if (options.mapCommand != CliOptions::MapCommand::None) {
        start.checkFolder = [&](const ProgramFolder& folder) {
            return refuseFolderWithoutDatabase(folder, err, "name map");
        };
    }

    StreamPrompter prompter(err);
    CommandLineSettings effectiveSettings(settings, options);
    HeadlessControls controls;
    StreamLocateHost locate(err);
    NoPrinter printer;
    return startProgram(
        start, prompter, clock,
        [&](modErrorLog& log, ProgramState& state, const RequestProcessorFactory& factory) {
            if (options.listExports) {
                return listExports(state, out, err);
            }
            if (options.mapCommand != CliOptions::MapCommand::None) {
                return runNameMapCommand(options, state, out, err);
            }
            if (options.showExport) {
                return showExport(state, *options.showExport, out, err);
            }
            storeGivenLocations(log, settings, options);
            return runWindow(
                options, log, state,
                MainWindowServices{controls, effectiveSettings, locate, locate, printer, factory},
                controls, out, err);
        });
}

}  // namespace vantrell
