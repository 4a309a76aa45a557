#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "Measurement.h"

namespace vantrell::bench {

// The library floors measured in each run.
enum class Floor : std::size_t {
    ReportDataRead,
    PunchInsertEachCommitted,
    CompanyListsRead,
    ResolveResponseBuild,
    ResolveResponseParse,
    NamesDeleteEachCommitted,
    PunchRead,
    RequestBuild,
    RequestParse,
    TicketNameLookups,
    PunchInsertOneTransaction,
    ResponseBuild,
    ResponseParse,
    PunchDeleteEachCommitted,
};
inline constexpr std::size_t kFloorCount = 14;

// The phases of the program measured in each run; the last is the whole run.
enum class Phase : std::size_t {
    Extraction,
    Resolution,
    TicketRead,
    RequestBuilding,
    Simulator,
    ResponseApplying,
    WholeRun,
};
inline constexpr std::size_t kPhaseCount = 7;

struct PhaseInfo {
    const char* label;
    std::vector<Floor> floors;  // what the phase's floor adds up
};

// Each floor belongs to exactly one phase; the whole run's floor is all of them.
inline const std::array<PhaseInfo, kPhaseCount> kPhases{{
    {"extraction (GetChronelData)", {Floor::ReportDataRead, Floor::PunchInsertEachCommitted}},
    {"resolution (ResolveWithQB, ShowIssues)",
     {Floor::CompanyListsRead, Floor::ResolveResponseBuild, Floor::ResolveResponseParse,
      Floor::NamesDeleteEachCommitted}},
    {"ticket read (rsPunch opened for export)", {Floor::PunchRead}},
    {"request building (BuildRequestString)", {Floor::RequestBuild}},
    {"simulator (ProcessRequest of the export)",
     {Floor::RequestParse, Floor::TicketNameLookups, Floor::PunchInsertOneTransaction,
      Floor::ResponseBuild}},
    {"response applying (ParseResponseXML)",
     {Floor::ResponseParse, Floor::PunchDeleteEachCommitted}},
    {"whole run (vantrell-cli --export)", {}},
}};

inline const std::array<const char*, kFloorCount> kFloorLabels{{
    "SQLite: REPORTDATA query, every row read",
    "SQLite: Punch rows inserted, each committed",
    "SQLite: company lists read",
    "pugixml: resolution response built, serialized",
    "pugixml: resolution response parsed, walked",
    "SQLite: staged names deleted, each committed",
    "SQLite: Punch query, every row read",
    "pugixml: export request built, serialized",
    "pugixml: export request parsed, walked",
    "SQLite: ticket names looked up",
    "SQLite: Punch rows inserted, one transaction",
    "pugixml: export response built, serialized",
    "pugixml: export response parsed, walked",
    "SQLite: Punch rows deleted, each committed",
}};

// Every sample of one run, or the medians of several.
struct RunSamples {
    std::array<Sample, kPhaseCount> phases{};
    std::array<Sample, kFloorCount> floors{};

    Sample& operator[](Phase phase) { return phases[static_cast<std::size_t>(phase)]; }
    Sample& operator[](Floor floor) { return floors[static_cast<std::size_t>(floor)]; }
    const Sample& operator[](Phase phase) const { return phases[static_cast<std::size_t>(phase)]; }
    const Sample& operator[](Floor floor) const { return floors[static_cast<std::size_t>(floor)]; }

    // The floor of a phase: the sum of its floors, or of all floors for the whole run.
    Sample floorOf(Phase phase) const;
};

}  // namespace vantrell::bench
