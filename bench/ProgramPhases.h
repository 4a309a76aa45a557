#pragma once

#include <filesystem>
#include <functional>

#include "Measurement.h"
#include "RunData.h"

namespace vantrell::bench {

// The program's own code, timed step by step as the main window runs it.
struct ProgramSamples {
    Sample extraction;        // GetChronelData
    Sample resolution;        // ResolveWithQB and ShowIssues
    Sample ticketRead;        // the export opening rsPunch on every staged ticket
    Sample requestBuilding;   // BuildRequestString
    Sample simulator;         // the simulated accounting system's ProcessRequest
    Sample responseApplying;  // ParseResponseXML on the export's response
};

// Where the program's run leaves its files, and what it needs made for it.
struct ProgramFiles {
    std::filesystem::path chronelFile;  // the time-and-attendance file to extract
    std::filesystem::path folder;       // the program folder, empty at the start
    std::filesystem::path stageCopy;    // receives a copy of the interface database as staged
    // Called after the extraction: makes the company file at the path given, knowing every name
    // the stage copy holds.
    std::function<void(const std::filesystem::path& companyFile)> makeCompanyFile;
};

// Runs the program's phases: the interface database is set up, the extraction stages the
// tickets (then copied to files.stageCopy), the company file is made, and the resolution and
// the export's steps follow. Keeps the resolution's response and the export's request and
// response in `data`. Throws std::runtime_error when the program reports anything (a message
// box), when names stay unresolved or when tickets stay staged after the export: such a run
// measures nothing.
ProgramSamples runProgramPhases(const ProgramFiles& files, RunData& data);

}  // namespace vantrell::bench
