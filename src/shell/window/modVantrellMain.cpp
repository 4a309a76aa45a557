#include "shell/window/modVantrellMain.h"

#include "diag/Failure.h"
#include "diag/InstanceLock.h"
#include "interfacedb/InterfaceDatabase.h"

namespace vantrell {

int Main(modErrorLog& log, ProgramState& state, const std::function<int()>& runMainWindow) {
    try {
        // Two copies on one program folder would rebuild and post the same stage at once.
        const InstanceLock lock(log.folder());
        if (lock.outcome() == InstanceLock::Outcome::HeldElsewhere) {
            log.WriteLogEntry("NOTE", "Main", kAlreadyRunning);
            return kExitEndedEarly;
        }
        if (lock.outcome() == InstanceLock::Outcome::Unavailable) {
            try {
                throw Failure(lock.failure());
            } catch (const Failure&) {
                log.WriteLogEntry("ERROR", "Main", kLockUnavailable);
            }
            return kExitEndedEarly;
        }
        if (!blnConfigureInterfaceDatabase(log, state.interfaceDb)) {
            log.WriteLogEntry("NOTE", "Main", "Couldn't configure the interface.");
            return kExitEndedEarly;
        }
        return runMainWindow();
    } catch (const EndProgram& end) {
        return end.status;
    }
}

}  // namespace vantrell
