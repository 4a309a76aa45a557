#pragma once

#include <string>

#include "diag/modErrorLog.h"
#include "interfacedb/EngineRefs.h"

namespace vantrell {

// The interface database's file name in the program folder.
inline constexpr const char* kInterfaceDatabaseFileName = "Vantrell.mdb";

// The interface database as the program holds it: where it lies and, while the window is
// open, the connection to it.
struct InterfaceDatabase {
    std::string strInterfaceDB;  // full path of the interface database
    ConnectionRef cnInterface;
};

// Sets strInterfaceDB to "Vantrell.mdb" in the program folder, creates the file when no
// ordinary file is there, and adds whichever of Employee, PayType and Punch is missing (names
// matched exactly, with case). Existing tables are never altered. True when the file holds the
// three tables; False after a failure, which is logged.
bool blnConfigureInterfaceDatabase(modErrorLog& log, InterfaceDatabase& interfaceDb);

}  // namespace vantrell
