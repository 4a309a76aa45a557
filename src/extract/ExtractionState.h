#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "extract/ExtractionColumns.h"
#include "interfacedb/EngineRefs.h"
#include "interfacedb/stage/NameMap.h"

namespace vantrell {

// How complete the stage that the last extraction left is: whether the run itself failed (and
// at which day, "name on yyyy-mm-dd", when it stopped at one), the days that a builder or
// the non-worked code could not stage, and the rows of the name map it could not apply.
struct ExtractionOutcome {
    bool extractionFailed = false;
    std::string stoppedAt;
    std::vector<std::string> daysNotStaged;
    std::vector<std::string> mapDamage;  // each row of the name map that was not applied
};

// What the extraction holds between its runs and while it stages a run's days.
struct ExtractionState {
    ConnectionRef cnChronel;  // the time-and-attendance database

    RecordsetRef rsExportDfn;   // the export definition; stays open once read
    RecordsetRef rsRules;       // the accrual titles; stays open once read
    RecordsetRef rsReportData;  // the days of the run in progress
    RecordsetRef rsPunch;       // the staged tickets, for adding
    ExtractionColumns columns;  // where the builders find their fields in these sets
    std::int32_t lngSequence = 0;
    stage::NameMapping names;  // the name map, read at the start of each run
    // The tickets of the run a map entry renamed, with the names they were staged from.
    struct Renamed {
        std::int32_t sequence = 0;
        std::string chronelName;
        std::string chronelPayType;
    };
    std::vector<Renamed> renamed;

    ExtractionOutcome outcome;
};

}  // namespace vantrell
