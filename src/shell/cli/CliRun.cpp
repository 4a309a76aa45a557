#include "shell/cli/CliRun.h"

#include "diag/FileSystem.h"
#include "diag/ProgramFolder.h"
#include "diag/modErrorLog.h"
#include "interfacedb/Value.h"
#include "interfacedb/stage/Stage.h"
#include "shell/cli/ExportJournalCommands.h"
#include "shell/cli/HeadlessWindow.h"
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
// dialog's choice would be.
void storeGivenLocations(SettingsStore& settings, const CliOptions& options) {
    if (options.chronel && fileExists(utf8ToPath(*options.chronel))) {
        settings.SaveSetting(kSettingsApp, kSettingsSection, "CHprog", *options.chronel);
    }
    if (options.company && fileExists(utf8ToPath(*options.company))) {
        settings.SaveSetting(kSettingsApp, kSettingsSection, "QBdata", *options.company);
    }
}

// Lists each ticket left in the stage with its error text. True when any is left, or when the
// stage cannot be read (then nothing can be said to have been posted).
bool reportTicketsLeft(ProgramState& state, std::ostream& err) {
    try {
        const std::vector<stage::StagedTicket> left =
            stage::readStagedTickets(*state.interfaceDb.cnInterface);
        for (const stage::StagedTicket& ticket : left) {
            err << "Not posted: ticket " << ticket.sequence << " (" << ticket.name << ", "
                << (ticket.date ? ticket.date->toText() : std::string()) << ", "
                << db::Value(ticket.hours).toText() << " hours, " << ticket.payType
                << "): " << ticket.error << '\n';
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
    frmVantrell window(log, state, services);
    window.Form_Load();
    if (window.isUnloaded()) {
        return kExitEndedEarly;
    }
    // An undo opens the session as the start does and extracts nothing.
    if (options.undoExport) {
        const int status = undoExport(log, window.link(), *options.undoExport, out, err);
        window.Form_Unload();
        return status;
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
            if (reportTicketsLeft(state, err)) {
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

int runHeadless(const CliOptions& options, SettingsStore& settings, Clock& clock, std::ostream& out,
                std::ostream& err, const ProcessorChooser& chooseProcessor) {
    ProgramStart start;
    start.dataDir = options.dataDir;
    start.processor = options.processor;
    start.chooseProcessor = chooseProcessor;
    start.resolveFolder = ProgramFolder::resolve;
    start.refuse = [&](const std::string& reason) { err << reason << '\n' << kCliUsage; };
    start.onFolderReady = [&] { storeGivenLocations(settings, options); };

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
            return runWindow(
                options, log, state,
                MainWindowServices{controls, effectiveSettings, locate, locate, printer, factory},
                controls, out, err);
        });
}

}  // namespace vantrell
