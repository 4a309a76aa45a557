#pragma once

#include "diag/modErrorLog.h"
#include "support/FakePrompter.h"
#include "support/Sandbox.h"

namespace vantrell::testing {

// A program folder in a sandbox with an error log whose boxes are recorded and whose clock
// stands still at 03/07/2026 14:05. The log's timestamp then reads "03/07/2026 02:5 pm ".
struct TestLog {
    Sandbox sandbox;
    FakePrompter prompter;
    FakeClock clock;
    modErrorLog log{ProgramFolder(sandbox.path()), prompter, clock};

    std::string logText() const { return sandbox.read("VantrellLog.txt"); }
};

inline constexpr const char* kStamp = "03/07/2026 02:5 pm ";

}  // namespace vantrell::testing
