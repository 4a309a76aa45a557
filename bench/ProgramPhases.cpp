#include "ProgramPhases.h"

#include <memory>
#include <stdexcept>

#include "SqliteFile.h"
#include "StageSnapshot.h"
#include "diag/Clock.h"
#include "diag/FileSystem.h"
#include "diag/Prompter.h"
#include "diag/modErrorLog.h"
#include "extract/Extraction.h"
#include "interfacedb/InterfaceDatabase.h"
#include "interfacedb/modDataDef.h"
#include "qblink/QuickBooksLink.h"
#include "standins/SimulatedRequestProcessor.h"

namespace vantrell::bench {

namespace {

// Keeps every message box: in a measured run there must be none.
class RecordingPrompter final : public Prompter {
  public:
    void show(const std::string& text, const std::string& title, MessageIcon) override {
        shown.push_back(title + ": " + text);
    }
    std::vector<std::string> shown;
};

class ListControls final : public WindowControls {
  public:
    void clearList() override { lines.clear(); }
    void addListLine(const std::string& line) override { lines.push_back(line); }
    void setButtonEnabled(WindowButton button, bool enabled) override {
        if (button == WindowButton::Export) {
            exportEnabled = enabled;
        }
    }
    void setMousePointer(MousePointer) override {}

    std::vector<std::string> lines;
    bool exportEnabled = false;
};

// The number of tickets staged, read beside the program's connection.
std::int64_t stagedTickets(const std::string& path) {
    SqliteFile file(path, SQLITE_OPEN_READONLY);
    auto count = file.prepare("select count(*) from Punch");
    sqlite3_step(count.get());
    return sqlite3_column_int64(count.get(), 0);
}

void requireQuiet(const RecordingPrompter& prompter, const char* phase) {
    if (!prompter.shown.empty()) {
        throw std::runtime_error(std::string("the program reported during ") + phase + ": " +
                                 prompter.shown.front());
    }
}

}  // namespace

ProgramSamples runProgramPhases(const ProgramFiles& files, RunData& data) {
    RecordingPrompter prompter;
    SystemClock clock;
    modErrorLog log(ProgramFolder(files.folder), prompter, clock);
    ProgramState state;
    ListControls controls;
    ProgramSamples samples;

    if (!blnConfigureInterfaceDatabase(log, state) ||
        !blnOpenConnection(log, state.cnInterface, state.strInterfaceDB) ||
        !blnOpenConnection(log, state.cnChronel, pathToUtf8(files.chronelFile))) {
        requireQuiet(prompter, "set-up");
        throw std::runtime_error("the interface database could not be set up");
    }

    samples.extraction = measure([&] { GetChronelData(log, state); });
    requireQuiet(prompter, "the extraction");
    snapshotStage(state.strInterfaceDB, files.stageCopy);

    const auto companyFile = files.folder / "Company.qbw";
    files.makeCompanyFile(companyFile);
    state.strQBdata = pathToUtf8(companyFile);
    QuickBooksLink link(log, state, controls,
                        [] { return std::make_unique<SimulatedRequestProcessor>(); });
    if (!link.OpenQBConnection()) {
        requireQuiet(prompter, "the session's start");
        throw std::runtime_error("no session with the simulated accounting system");
    }

    samples.resolution = measure([&] {
        link.ResolveWithQB();
        link.ShowIssues();
    });
    requireQuiet(prompter, "the resolution");
    if (!controls.exportEnabled) {
        throw std::runtime_error("names stayed unresolved: " +
                                 (controls.lines.empty() ? std::string() : controls.lines.front()));
    }
    // Moved out, not copied, so that the later phases' peak memory holds no copies.
    data.resolveResponse = std::move(link.responseXML);

    // The export's own steps, one by one.
    samples.ticketRead = measure([&] {
        state.rsPunch = std::make_unique<db::Recordset>();
        state.rsPunch->open("select * from Punch order by Sequence", *state.cnInterface,
                            db::CursorType::Dynamic, db::LockType::Optimistic);
    });
    samples.requestBuilding = measure([&] { link.requestXML = link.BuildRequestString(); });
    samples.simulator = measure(
        [&] { link.responseXML = link.qbXMLRP->ProcessRequest(link.ticket, link.requestXML); });
    samples.responseApplying =
        measure([&] { link.ParseResponseXML("TimeTrackingAddRs", "TimeTrackingRet"); });
    data.request = std::move(link.requestXML);
    data.response = std::move(link.responseXML);
    blnCloseRecordset(log, state.rsPunch);
    requireQuiet(prompter, "the export");

    if (const auto left = stagedTickets(state.strInterfaceDB); left != 0) {
        throw std::runtime_error(std::to_string(left) + " tickets stayed staged after the export");
    }
    link.CloseQBConnection();
    blnCloseRecordset(log, state.rsExportDfn);
    blnCloseRecordset(log, state.rsRules);
    blnCloseConnection(log, state.cnChronel);
    blnCloseConnection(log, state.cnInterface);
    requireQuiet(prompter, "the close");
    return samples;
}

}  // namespace vantrell::bench
