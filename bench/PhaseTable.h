#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "Measurement.h"

namespace vantrell::bench {

// The library floors measured in each run. Every write of a phase is made in one transaction,
// as the program makes them.
enum class Floor : std::size_t {
    ReportDataRead,
    PunchInsertForStage,
    StagedNamesRebuild,
    CompanyListsRead,
    ResolveResponseBuild,
    ResolveResponseParse,
    NamesDelete,
    PunchRead,
    RequestBuild,
    RequestParse,
    TicketNameLookups,
    PunchInsertForPosting,
    ResponseBuild,
    ResponseParse,
    JournalAndDelete,
    CheckPunchReadNonePosted,
    CheckTicketsReadNonePosted,
    CheckAnswerPrintNonePosted,
    CheckAnswerParseNonePosted,
    CheckPunchReadAllPosted,
    CheckTicketsReadAllPosted,
    CheckAnswerPrintAllPosted,
    CheckAnswerParseAllPosted,
    PunchDeleteOneTransaction,
};
inline constexpr std::size_t kFloorCount = 24;  // the number of Floor values

// The phases of the program measured in each run, in the order they run; the last two are
// whole runs of vantrell-cli --export: the first export of the pay period, and the same run
// again once the accounting system holds every ticket. The already-posted check runs twice:
// on the first activation, when the accounting system holds none of the staged tickets, and
// again after the export with the stage restored, when it holds all of them. Both include the
// simulator's answer to the check's query.
enum class Phase : std::size_t {
    Extraction,
    Resolution,
    CheckNonePosted,
    TicketRead,
    RequestBuilding,
    Simulator,
    ResponseApplying,
    CheckAllPosted,
    WholeRun,
    RepeatRun,
};
inline constexpr std::size_t kPhaseCount = 10;  // the number of Phase values

// Whether a phase is one of the whole runs, whose floor adds up those of the phases they do.
inline constexpr bool isWholeRun(Phase phase) {
    return phase == Phase::WholeRun || phase == Phase::RepeatRun;
}

// How a phase is shown in the table, and what its floor is made of.
struct PhaseInfo {
    const char* label;
    std::vector<Floor> floors;  // what the phase's floor adds up
    bool inWholeRun;            // the first export run does this phase's work
    bool inRepeatRun;           // the repeated run does this phase's work
};

// Each floor belongs to exactly one phase; a whole run's floor is those of the phases it does
// (a first export checks once, with none posted; the repeated one finds all posted and sends
// nothing).
inline const std::array<PhaseInfo, kPhaseCount> kPhases{{
    {"extraction (GetChronelData)",
     {Floor::ReportDataRead, Floor::PunchInsertForStage, Floor::StagedNamesRebuild},
     true,
     true},
    {"resolution (ResolveWithQB, FindIssues)",
     {Floor::CompanyListsRead, Floor::ResolveResponseBuild, Floor::ResolveResponseParse,
      Floor::NamesDelete},
     true,
     true},
    {"check, none posted (CheckPostedTickets)",
     {Floor::CheckPunchReadNonePosted, Floor::CheckTicketsReadNonePosted,
      Floor::CheckAnswerPrintNonePosted, Floor::CheckAnswerParseNonePosted},
     true,
     false},
    {"ticket read (rsPunch opened for export)", {Floor::PunchRead}, true, false},
    {"request building (BuildRequestString)", {Floor::RequestBuild}, true, false},
    {"simulator (ProcessRequest of the export)",
     {Floor::RequestParse, Floor::TicketNameLookups, Floor::PunchInsertForPosting,
      Floor::ResponseBuild},
     true,
     false},
    {"response applying (ParseResponseXML)",
     {Floor::ResponseParse, Floor::JournalAndDelete},
     true,
     false},
    {"check, all posted (CheckPostedTickets)",
     {Floor::CheckPunchReadAllPosted, Floor::CheckTicketsReadAllPosted,
      Floor::CheckAnswerPrintAllPosted, Floor::CheckAnswerParseAllPosted,
      Floor::PunchDeleteOneTransaction},
     false,
     true},
    {"whole run (vantrell-cli --export)", {}, false, false},
    {"repeat run, all posted (same again)", {}, false, false},
}};

// How each floor is shown in the table, in Floor order.
inline const std::array<const char*, kFloorCount> kFloorLabels{{
    "SQLite: REPORTDATA query, every row read",
    "SQLite: Punch rows inserted, one transaction",
    "SQLite: Employee and PayType rebuilt",
    "SQLite: company lists read",
    "pugixml: resolution response built, serialized",
    "pugixml: resolution response parsed, walked",
    "SQLite: staged names deleted, one transaction",
    "SQLite: Punch query, every row read",
    "pugixml: export request built, serialized",
    "pugixml: export request parsed, walked",
    "SQLite: ticket names looked up",
    "SQLite: tickets inserted for posting, one trans.",
    "pugixml: export response built, serialized",
    "pugixml: export response parsed, walked",
    "SQLite: journal rows written, Punch rows deleted",
    "SQLite: Punch query for the check, none posted",
    "SQLite: company tickets in range, none posted",
    "pugixml: check answer printed, none posted",
    "pugixml: check answer parsed, read, none posted",
    "SQLite: Punch query for the check, all posted",
    "SQLite: company tickets in range, all posted",
    "pugixml: check answer printed, all posted",
    "pugixml: check answer parsed, read, all posted",
    "SQLite: Punch rows deleted, one transaction",
}};

// Every sample of one run, or the medians of several.
struct RunSamples {
    std::array<Sample, kPhaseCount> phases{};
    std::array<Sample, kFloorCount> floors{};
    // The simulator's share of each check (time and CPU time; no peak of its own).
    Sample checkSimulatorNonePosted;
    Sample checkSimulatorAllPosted;
    // Resident memory just before each check (the benchmark's own data included).
    std::uint64_t residentBeforeCheckNonePosted = 0;
    std::uint64_t residentBeforeCheckAllPosted = 0;

    // The sample of one phase or floor, which must be one of the enumeration's values.
    Sample& operator[](Phase phase) { return phases[static_cast<std::size_t>(phase)]; }
    Sample& operator[](Floor floor) { return floors[static_cast<std::size_t>(floor)]; }
    const Sample& operator[](Phase phase) const { return phases[static_cast<std::size_t>(phase)]; }
    const Sample& operator[](Floor floor) const { return floors[static_cast<std::size_t>(floor)]; }

    // The floor of a phase: the sum of its floors, or for a whole run those of the phases it
    // does.
    Sample floorOf(Phase phase) const;
};

}  // namespace vantrell::bench
