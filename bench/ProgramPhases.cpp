#include "ProgramPhases.h"

#include <pugixml.hpp>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <ctime>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

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
#include "qblink/RequestText.h"
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

// The simulator, timing each answer: the check sends its query from inside the program.
class TimedProcessor final : public RequestProcessor {
  public:
    explicit TimedProcessor(Sample& lastAnswer) : lastAnswer_(lastAnswer) {}

    void OpenConnection(const std::string& appID, const std::string& appName) override {
        simulator_.OpenConnection(appID, appName);
    }
    std::string BeginSession(const std::string& qbFileName, int fileMode) override {
        return simulator_.BeginSession(qbFileName, fileMode);
    }
    std::string ProcessRequest(const std::string& ticket, const std::string& request) override {
        const std::clock_t cpuBefore = std::clock();
        const auto start = std::chrono::steady_clock::now();
        std::string response = simulator_.ProcessRequest(ticket, request);
        lastAnswer_.seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        lastAnswer_.cpuSeconds =
            static_cast<double>(std::clock() - cpuBefore) / static_cast<double>(CLOCKS_PER_SEC);
        return response;
    }
    void EndSession(const std::string& ticket) override { simulator_.EndSession(ticket); }
    void CloseConnection() override { simulator_.CloseConnection(); }

  private:
    SimulatedRequestProcessor simulator_;
    Sample& lastAnswer_;
};

// A trace file's text, without the quotes the program writes around it.
std::string tracedText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary | std::ios::ate);
    std::string text(static_cast<std::size_t>(std::max<std::streamoff>(in.tellg(), 0)), '\0');
    in.seekg(0);
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    constexpr std::string_view kEnd = "\"\r\n";
    if (!in || text.size() < 1 + kEnd.size() || text.front() != '"' ||
        !std::string_view(text).ends_with(kEnd)) {
        throw std::runtime_error("no trace in " + file.string());
    }
    return text.substr(1, text.size() - 1 - kEnd.size());
}

// The number of tickets staged, read beside the program's connection.
std::int64_t stagedTickets(const std::string& path) {
    SqliteFile file(path, SQLITE_OPEN_READONLY);
    auto count = file.prepare("select count(*) from Punch");
    sqlite3_step(count.get());
    return sqlite3_column_int64(count.get(), 0);
}

// The pages of the check's paged query from `fromDate` to `toDate`, asked of the simulator again
// as the check asks them; the whole answer when the check fell back to one.
std::vector<std::string> checkPages(QuickBooksLink& link, const std::string& firstRequest) {
    pugi::xml_document request;
    if (!request.load_string(firstRequest.c_str())) {
        throw std::runtime_error("the check's query does not parse");
    }
    const pugi::xml_node query = request.find_node([](const pugi::xml_node& node) {
        return std::strcmp(node.name(), "TimeTrackingQueryRq") == 0;
    });
    const pugi::xml_node range = query.child("TxnDateRangeFilter");
    const std::string from = range.child_value("FromTxnDate");
    const std::string to = range.child_value("ToTxnDate");
    std::vector<std::string> pages;
    if (!query.attribute("iterator")) {
        pages.push_back(link.qbXMLRP->ProcessRequest(link.ticket, firstRequest));
        return pages;
    }
    std::string iteratorId;
    for (;;) {
        pages.push_back(link.qbXMLRP->ProcessRequest(
            link.ticket, postedTicketPageRequest(from, to, link.checkPageSize, iteratorId)));
        pugi::xml_document page;
        page.load_string(pages.back().c_str());
        const pugi::xml_node answer = page.find_node([](const pugi::xml_node& node) {
            return std::strcmp(node.name(), "TimeTrackingQueryRs") == 0;
        });
        iteratorId = answer.attribute("iteratorID").value();
        if (answer.attribute("iteratorRemainingCount").as_ullong() == 0 || iteratorId.empty()) {
            return pages;
        }
    }
}

void requireQuiet(const RecordingPrompter& prompter, const char* phase) {
    if (!prompter.shown.empty()) {
        throw std::runtime_error(std::string("the program reported during ") + phase + ": " +
                                 prompter.shown.front());
    }
}

// The check must have read its answer and found nothing changed; else it measured a failure.
void requireCheck(const QuickBooksLink& link, const char* which) {
    const auto& check = link.postedCheck();
    if (!check.made || !check.issueLines.empty()) {
        throw std::runtime_error(std::string(which) + " failed: " +
                                 (check.issueLines.empty() ? std::string("no answer applied")
                                                           : check.issueLines.front()));
    }
}

}  // namespace

ProgramSamples runProgramPhases(const ProgramFiles& files, RunData& data) {
    RecordingPrompter prompter;
    SystemClock clock;
    modErrorLog log(ProgramFolder(files.folder), prompter, clock);
    InterfaceDatabase interfaceDb;
    ExtractionState extraction;
    ProgramSamples samples;

    if (!blnConfigureInterfaceDatabase(log, interfaceDb) ||
        !blnOpenConnection(log, interfaceDb.cnInterface, interfaceDb.strInterfaceDB) ||
        !blnOpenConnection(log, extraction.cnChronel, pathToUtf8(files.chronelFile))) {
        requireQuiet(prompter, "set-up");
        throw std::runtime_error("the interface database could not be set up");
    }

    samples.extraction = measure([&] { GetChronelData(log, interfaceDb, extraction); });
    requireQuiet(prompter, "the extraction");
    snapshotStage(interfaceDb.strInterfaceDB, files.stageCopy);
    const std::int64_t staged = stagedTickets(interfaceDb.strInterfaceDB);

    const auto companyFile = files.folder / "Company.qbw";
    files.makeCompanyFile(companyFile);
    const std::string strQBdata = pathToUtf8(companyFile);
    Sample lastAnswer;
    QuickBooksLink link(log, interfaceDb, extraction.outcome, strQBdata,
                        [&] { return std::make_unique<TimedProcessor>(lastAnswer); });
    if (!link.OpenQBConnection()) {
        requireQuiet(prompter, "the session's start");
        throw std::runtime_error("no session with the simulated accounting system");
    }

    // As the window activates: resolution, the check, then the list.
    link.beginActivation();
    const Sample resolving = measure([&] { link.ResolveWithQB(); });
    requireQuiet(prompter, "the resolution");
    samples.residentBeforeCheckNonePosted = residentBytes();
    samples.checkNonePosted = measure([&] { link.CheckPostedTickets(); });
    samples.checkSimulatorNonePosted = lastAnswer;
    requireQuiet(prompter, "the first check");
    requireCheck(link, "the first check");
    if (link.postedCheck().alreadyPosted != 0 ||
        stagedTickets(interfaceDb.strInterfaceDB) != staged) {
        throw std::runtime_error("the first check found tickets posted before any export");
    }
    data.checkRequest = tracedText(files.folder / "CheckReq.txt");
    // The check's first page is asked for by the query of its last (only the iterator differs).
    data.checkPagesNonePosted = checkPages(link, data.checkRequest);
    QuickBooksLink::IssueReport issues;
    samples.resolution = resolving + measure([&] { issues = link.FindIssues(); });
    requireQuiet(prompter, "the list");
    if (!issues.complete || issues.issues != 0) {
        throw std::runtime_error("names stayed unresolved: " +
                                 (issues.lines.empty() ? std::string() : issues.lines.front()));
    }
    // Moved out, not copied, so that the later phases' peak memory holds no copies.
    data.resolveResponse = std::move(link.responseXML);

    // The export's own steps, one by one.
    samples.ticketRead = measure([&] {
        link.rsPunch = std::make_unique<db::Recordset>();
        link.rsPunch->open("select * from Punch order by Sequence", *interfaceDb.cnInterface,
                           db::CursorType::Dynamic, db::LockType::Optimistic);
    });
    samples.requestBuilding = measure([&] { link.requestXML = link.BuildRequestString(); });
    samples.simulator = measure(
        [&] { link.responseXML = link.qbXMLRP->ProcessRequest(link.ticket, link.requestXML); });
    samples.responseApplying =
        measure([&] { link.ParseResponseXML("TimeTrackingAddRs", "TimeTrackingRet"); });
    data.request = std::move(link.requestXML);
    data.response = std::move(link.responseXML);
    blnCloseRecordset(log, link.rsPunch);
    requireQuiet(prompter, "the export");

    if (const auto left = stagedTickets(interfaceDb.strInterfaceDB); left != 0) {
        throw std::runtime_error(std::to_string(left) + " tickets stayed staged after the export");
    }

    // A repeat run: the same stage again, every ticket of which the accounting system now holds.
    restoreStagedTickets(interfaceDb.strInterfaceDB, files.stageCopy);
    if (stagedTickets(interfaceDb.strInterfaceDB) != staged) {
        throw std::runtime_error("the stage was not restored for the second check");
    }
    link.beginActivation();
    samples.residentBeforeCheckAllPosted = residentBytes();
    samples.checkAllPosted = measure([&] { link.CheckPostedTickets(); });
    samples.checkSimulatorAllPosted = lastAnswer;
    requireQuiet(prompter, "the second check");
    requireCheck(link, "the second check");
    if (const auto left = stagedTickets(interfaceDb.strInterfaceDB);
        left != 0 || link.postedCheck().alreadyPosted != staged) {
        throw std::runtime_error(std::to_string(left) +
                                 " tickets stayed staged after the check found " +
                                 std::to_string(link.postedCheck().alreadyPosted) + " of " +
                                 std::to_string(staged) + " posted");
    }
    data.checkPagesAllPosted = checkPages(link, data.checkRequest);

    link.CloseQBConnection();
    blnCloseRecordset(log, extraction.rsExportDfn);
    blnCloseRecordset(log, extraction.rsRules);
    blnCloseConnection(log, extraction.cnChronel);
    blnCloseConnection(log, interfaceDb.cnInterface);
    requireQuiet(prompter, "the close");
    return samples;
}

}  // namespace vantrell::bench
