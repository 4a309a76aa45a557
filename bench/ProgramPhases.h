#pragma once

#include <filesystem>
#include <functional>

#include "Measurement.h"
#include "RunData.h"

namespace vantrell::bench {

// The program's own code, timed step by step as the main window runs it.
struct ProgramSamples {
    Sample extraction;        // GetChronelData
    Sample resolution;        // ResolveWithQB and FindIssues
    Sample checkNonePosted;   // CheckPostedTickets before the export: none posted yet
    Sample ticketRead;        // the export opening rsPunch on every staged ticket
    Sample requestBuilding;   // BuildRequestString
    Sample simulator;         // the simulated accounting system's ProcessRequest
    Sample responseApplying;  // ParseResponseXML on the export's response
    Sample checkAllPosted;    // CheckPostedTickets on the stage restored after the export
    // The simulator's ProcessRequest inside each check (time and CPU time only).
    Sample checkSimulatorNonePosted;
    Sample checkSimulatorAllPosted;
    // Resident memory just before each check: its peak less this is the check's own.
    std::uint64_t residentBeforeCheckNonePosted = 0;
    std::uint64_t residentBeforeCheckAllPosted = 0;
};

// Where the program's run leaves its files, and what it needs made for it.
struct ProgramFiles {
    std::filesystem::path chronelFile;  // the time-and-attendance file to extract
    std::filesystem::path folder;       // the program folder, empty at the start; its
                                        // Company.qbw holds the exported tickets at the end
    std::filesystem::path stageCopy;    // receives a copy of the interface database as staged
    // Called after the extraction: makes the company file at the path given, knowing every name
    // the stage copy holds.
    std::function<void(const std::filesystem::path& companyFile)> makeCompanyFile;
};

// Runs the program's phases: the interface database is set up, the extraction stages the
// tickets (then copied to files.stageCopy), the company file is made, and the resolution, the
// already-posted check and the export's steps follow. Then the stage is restored from the copy,
// as a repeat run finds it, and the check runs again. Keeps the resolution's response, the
// export's request and response and the checks' query and answers in `data`. Throws
// std::runtime_error when the program reports anything (a message box), when names stay
// unresolved, when the first check finds a ticket posted or the second leaves one staged, or
// when tickets stay staged after the export: such a run measures nothing. What
// files.makeCompanyFile throws, and a failure to read or copy the run's files, passes on.
ProgramSamples runProgramPhases(const ProgramFiles& files, RunData& data);

}  // namespace vantrell::bench
