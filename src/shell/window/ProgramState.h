#pragma once

#include <string>

#include "extract/ExtractionState.h"
#include "interfacedb/InterfaceDatabase.h"

namespace vantrell {

// What the program holds from start-up to its end: the two locations the window finds or asks
// for, the interface database and the extraction's state. Each layer is handed its own part.
struct ProgramState {
    std::string strCHprog;  // the time-and-attendance application file
    std::string strQBdata;  // the accounting system's company file

    InterfaceDatabase interfaceDb;
    ExtractionState extraction;
};

}  // namespace vantrell
