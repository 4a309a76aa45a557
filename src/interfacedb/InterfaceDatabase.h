#pragma once

#include "diag/modErrorLog.h"
#include "interfacedb/ProgramState.h"

namespace vantrell {

// The interface database's file name in the program folder.
inline constexpr const char* kInterfaceDatabaseFileName = "Vantrell.mdb";

// Sets strInterfaceDB to "Vantrell.mdb" in the program folder, creates the file when no
// ordinary file is there, and adds whichever of Employee, PayType and Punch is missing (names
// matched exactly, with case). Existing tables are never altered. True when the file holds the
// three tables; False after a failure, which is logged.
bool blnConfigureInterfaceDatabase(modErrorLog& log, ProgramState& state);

}  // namespace vantrell
