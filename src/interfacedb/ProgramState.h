#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "interfacedb/Connection.h"
#include "interfacedb/Recordset.h"

namespace vantrell {

// A reference to an engine object: empty until created, emptied when released.
using ConnectionRef = std::unique_ptr<db::Connection>;
using RecordsetRef = std::unique_ptr<db::Recordset>;

// Module-level state of modVantrell, shared by start-up, extraction and export.
struct ProgramState {
    std::string strInterfaceDB;  // full path of the interface database
    std::string strCHprog;       // the time-and-attendance application file
    std::string strQBdata;       // the accounting system's company file

    ConnectionRef cnInterface;
    ConnectionRef cnChronel;

    RecordsetRef rsExportDfn;   // the export definition; stays open once read
    RecordsetRef rsRules;       // the accrual titles; stays open once read
    RecordsetRef rsReportData;  // the days of the extraction in progress
    RecordsetRef rsPunch;       // the staged tickets, for adding (extraction) and sending (export)
    std::int32_t lngSequence = 0;

    // How complete the stage that the last extraction left is: whether the run itself failed,
    // and the days ("name on yyyy-mm-dd") that a builder could not stage.
    bool extractionFailed = false;
    std::vector<std::string> daysNotStaged;
};

}  // namespace vantrell
