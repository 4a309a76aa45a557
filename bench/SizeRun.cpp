#include "SizeRun.h"

#include <pugixml.hpp>

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

void measureFloors(const fs::path& chronelFile, const fs::path& companyFile, const fs::path& folder,
                   const RunData& data, RunSamples& run) {
    fs::create_directories(folder);
    const auto eachCommitted = folder / "each-committed.db";
    const auto oneTransaction = folder / "one-transaction.db";
    run[Floor::ReportDataRead] = readReportData(chronelFile);
    run[Floor::PunchInsertEachCommitted] = insertPunch(eachCommitted, data, false);
    run[Floor::PunchInsertOneTransaction] = insertPunch(oneTransaction, data, true);
    run[Floor::PunchRead] = readPunch(eachCommitted);
    run[Floor::PunchDeleteEachCommitted] = deletePunch(eachCommitted, data);
    run[Floor::NamesDeleteEachCommitted] = deleteNames(oneTransaction, data);
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
        run[Phase::TicketRead] = program.ticketRead;
        run[Phase::RequestBuilding] = program.requestBuilding;
        run[Phase::Simulator] = program.simulator;
        run[Phase::ResponseApplying] = program.responseApplying;

        readStage(stageCopy, data);
        result.tickets = static_cast<std::int64_t>(data.punch.size());
        measureFloors(chronelFile, pristineCompany, runFolder / "floors", data, run);
        data = RunData();

        fs::create_directories(runFolder / "cli");
        fs::copy_file(pristineCompany, runFolder / "cli" / "Company.qbw");
        run[Phase::WholeRun] = runWholeExport(options.cli, chronelFile,
                                              runFolder / "cli" / "Company.qbw", runFolder / "cli");
        runs.push_back(run);
        if (!options.keep) {
            fs::remove_all(runFolder);
        }
    }
    result.median = medianOf(runs);
    return result;
}

}  // namespace vantrell::bench
