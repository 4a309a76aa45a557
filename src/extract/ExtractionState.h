#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "interfacedb/EngineRefs.h"

namespace vantrell {

// How complete the stage that the last extraction left is: whether the run itself failed (and
// at which day, "name on yyyy-mm-dd", when it stopped at one), and the days that a builder or
// the non-worked code could not stage.
struct ExtractionOutcome {
    bool extractionFailed = false;
    std::string stoppedAt;
    std::vector<std::string> daysNotStaged;
};

// What the extraction holds between its runs and while it stages a run's days.
struct ExtractionState {
    ConnectionRef cnChronel;  // the time-and-attendance database

    RecordsetRef rsExportDfn;   // the export definition; stays open once read
    RecordsetRef rsRules;       // the accrual titles; stays open once read
    RecordsetRef rsReportData;  // the days of the run in progress
    RecordsetRef rsPunch;       // the staged tickets, for adding
    std::int32_t lngSequence = 0;

    ExtractionOutcome outcome;
};

}  // namespace vantrell
