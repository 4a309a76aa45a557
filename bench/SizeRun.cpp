#include "SizeRun.h"

#include <pugixml.hpp>

#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <utility>

#include "ExportRun.h"
#include "ProgramPhases.h"
#include "SqliteFloors.h"
#include "StageSnapshot.h"
#include "XmlFloors.h"
#include "sampledata/SyntheticData.h"
#include "standins/CompanyFile.h"
#include "standins/RequestHandler.h"

namespace vantrell::bench {

namespace fs = std::filesystem;

namespace {

// A company file that knows every employee and pay-type name the stage holds.
void makeCompanyFile(const fs::path& path, const fs::path& stageCopy) {
    RunData names;
    readStage(stageCopy, names);
    const std::int64_t now = standins::systemUnixSeconds();
    standins::CompanyFile::create(path, now);
    standins::CompanyFile file(path);
    file.addNames(standins::ListKind::Employee, names.employees, now);
    file.addNames(standins::ListKind::WageItem, names.payTypes, now);
}

// The date range of the check's query, as the simulator reads it.
std::pair<std::string, std::string> checkedDates(const std::string& request) {
    pugi::xml_document document;
    if (!document.load_buffer(request.data(), request.size())) {
        throw std::runtime_error("the check's query does not parse");
    }
    const pugi::xml_node range = document.find_node([](const pugi::xml_node& node) {
        return std::strcmp(node.name(), "TxnDateRangeFilter") == 0;
    });
    if (!range) {
        throw std::runtime_error("the check's query has no date range");
    }
    return {range.child_value("FromTxnDate"), range.child_value("ToTxnDate")};
}

Sample printPages(const std::vector<std::string>& pages, unsigned flags) {
    Sample total;
    for (const std::string& page : pages) {
        total = total + buildAndPrintRecords(page, "TimeTrackingQueryRs", flags);
    }
    return total;
}

Sample parsePages(const std::vector<std::string>& pages) {
    Sample total;
    for (const std::string& page : pages) {
        total = total + parseAndReadRecords(page, "TimeTrackingQueryRs");
    }
    return total;
}

// `companyFile` is the company file as the export found it (no tickets) and `postedCompany` as
// the export left it (every ticket).
void measureFloors(const fs::path& chronelFile, const fs::path& companyFile,
                   const fs::path& postedCompany, const fs::path& folder, const RunData& data,
                   RunSamples& run) {
    fs::create_directories(folder);
    const auto stage = folder / "stage.db";
    const auto posting = folder / "posting.db";
    run[Floor::ReportDataRead] = readReportData(chronelFile);
    run[Floor::PunchInsertForStage] = insertPunch(stage, data, true);
    run[Floor::StagedNamesRebuild] = rebuildNames(stage);
    run[Floor::PunchInsertForPosting] = insertPunch(posting, data, true);
    run[Floor::PunchRead] = readPunch(stage);
    run[Floor::JournalAndDelete] = recordAndDeletePunch(stage, data);
    run[Floor::NamesDelete] = deleteNames(posting, data);
    run[Floor::CompanyListsRead] = readCompanyLists(companyFile);
    run[Floor::TicketNameLookups] = lookUpTicketNames(companyFile, data);
    run[Floor::ResolveResponseBuild] = buildAndSerialize(data.resolveResponse, pugi::format_indent);
    // The resolution reads its response once for the employees and once for the wage items.
    run[Floor::ResolveResponseParse] = parseAndWalk(data.resolveResponse, "EmployeeQueryRs") +
                                       parseAndWalk(data.resolveResponse, "PayrollItemWageQueryRs");
    run[Floor::RequestBuild] = buildAndSerialize(data.request, pugi::format_raw);
    run[Floor::RequestParse] = parseAndWalk(data.request, "TimeTrackingAddRq");
    run[Floor::ResponseBuild] = buildAndSerialize(data.response, pugi::format_indent);
    run[Floor::ResponseParse] = parseAndWalk(data.response, "TimeTrackingAddRs");

    const auto [from, to] = checkedDates(data.checkRequest);
    run[Floor::CheckPunchReadNonePosted] = readPunch(posting);
    run[Floor::CheckTicketsReadNonePosted] = readCompanyTickets(companyFile, from, to);
    // The simulator writes a large answer record by record, not as one tree.
    // The simulator writes a large answer record by record, not as one tree; every page the
    // check read is printed and parsed.
    run[Floor::CheckAnswerPrintNonePosted] =
        printPages(data.checkPagesNonePosted, pugi::format_indent);
    run[Floor::CheckAnswerParseNonePosted] = parsePages(data.checkPagesNonePosted);
    run[Floor::CheckPunchReadAllPosted] = readPunch(posting);
    run[Floor::CheckTicketsReadAllPosted] = readCompanyTickets(postedCompany, from, to);
    run[Floor::CheckAnswerPrintAllPosted] =
        printPages(data.checkPagesAllPosted, pugi::format_indent);
    run[Floor::CheckAnswerParseAllPosted] = parsePages(data.checkPagesAllPosted);
    run[Floor::PunchDeleteOneTransaction] = deletePunchInOneTransaction(posting, data);
}

// The repeated run must have found every ticket posted, not posted them again.
void requireAllFoundPosted(const fs::path& standardOutput) {
    std::ifstream in(standardOutput);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (text.find("time tickets are already in QuickBooks") == std::string::npos ||
        text.find("Export complete.") == std::string::npos) {
        throw std::runtime_error("the repeated run did not find its tickets posted: " + text);
    }
}

}  // namespace

SizeResult benchmarkSize(const BenchOptions& options, long long employees, const fs::path& work,
                         std::ostream& progress) {
    SizeResult result;
    result.employees = employees;
    result.days = options.days;

    const fs::path folder =
        work / ("size-" + std::to_string(employees) + "x" + std::to_string(options.days));
    fs::remove_all(folder);
    fs::create_directories(folder);
    const fs::path chronelFile = folder / "ChronelV7.mde";
    sampledata::writeSyntheticFile(chronelFile, {employees, options.days, options.seed});
    const fs::path pristineCompany = folder / "Company.qbw";

    std::vector<RunSamples> runs;
    for (int k = 1; k <= options.runs; ++k) {
        progress << "  " << employees << " employees, run " << k << " of " << options.runs
                 << "...\n"
                 << std::flush;
        const fs::path runFolder = folder / ("run-" + std::to_string(k));
        fs::create_directories(runFolder / "program");
        const fs::path stageCopy = runFolder / "stage.db";

        RunSamples run;
        RunData data;
        const ProgramSamples program =
            runProgramPhases({chronelFile, runFolder / "program", stageCopy,
                              [&](const fs::path& companyFile) {
                                  if (!fs::exists(pristineCompany)) {
                                      makeCompanyFile(pristineCompany, stageCopy);
                                  }
                                  fs::copy_file(pristineCompany, companyFile);
                              }},
                             data);
        run[Phase::Extraction] = program.extraction;
        run[Phase::Resolution] = program.resolution;
        run[Phase::CheckNonePosted] = program.checkNonePosted;
        run[Phase::TicketRead] = program.ticketRead;
        run[Phase::RequestBuilding] = program.requestBuilding;
        run[Phase::Simulator] = program.simulator;
        run[Phase::ResponseApplying] = program.responseApplying;
        run[Phase::CheckAllPosted] = program.checkAllPosted;
        run.checkSimulatorNonePosted = program.checkSimulatorNonePosted;
        run.checkSimulatorAllPosted = program.checkSimulatorAllPosted;
        run.residentBeforeCheckNonePosted = program.residentBeforeCheckNonePosted;
        run.residentBeforeCheckAllPosted = program.residentBeforeCheckAllPosted;

        readStage(stageCopy, data);
        result.tickets = static_cast<std::int64_t>(data.punch.size());
        measureFloors(chronelFile, pristineCompany, runFolder / "program" / "Company.qbw",
                      runFolder / "floors", data, run);
        data = RunData();

        fs::create_directories(runFolder / "cli");
        fs::copy_file(pristineCompany, runFolder / "cli" / "Company.qbw");
        run[Phase::WholeRun] = runWholeExport(options.cli, chronelFile,
                                              runFolder / "cli" / "Company.qbw", runFolder / "cli");
        // The second run of the pay period: the same data, every ticket posted already.
        run[Phase::RepeatRun] = runWholeExport(
            options.cli, chronelFile, runFolder / "cli" / "Company.qbw", runFolder / "cli");
        requireAllFoundPosted(runFolder / "cli" / "stdout.txt");
        runs.push_back(run);
        if (!options.keep) {
            fs::remove_all(runFolder);
        }
    }
    result.median = medianOf(runs);
    return result;
}

}  // namespace vantrell::bench
