#include "shell/window/modVantrellMain.h"

#include "diag/Failure.h"
#include "interfacedb/InterfaceDatabase.h"

namespace vantrell {

int Main(modErrorLog& log, ProgramState& state, const std::function<int()>& runMainWindow) {
    try {
        if (!blnConfigureInterfaceDatabase(log, state)) {
            log.WriteLogEntry("NOTE", "Main", "Couldn't configure the interface.");
            return kExitEndedEarly;
        }
        return runMainWindow();
    } catch (const EndProgram& end) {
        return end.status;
    }
}

}  // namespace vantrell
