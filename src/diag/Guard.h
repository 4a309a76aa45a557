#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "diag/Failure.h"
#include "diag/modErrorLog.h"

namespace vantrell {

// Runs `body` under the failure handler of `procedure`: a failure stops the body, is logged as
// an ERROR entry under `procedure` with `message` (read when the failure happens, so a step text
// that the body updates is reported as it stands) and is consumed. EndProgram passes through.
// Returns true when the body ran to its end. The caller's exit steps follow the call.
template <class Body>
bool guard(modErrorLog& log, std::string_view procedure, const std::string& message, Body&& body) {
    try {
        std::forward<Body>(body)();
        return true;
    } catch (const EndProgram&) {
        throw;
    } catch (...) {
        log.WriteLogEntry("ERROR", procedure, message);
        return false;
    }
}

// The same with an empty message, the usual case.
template <class Body>
bool guard(modErrorLog& log, std::string_view procedure, Body&& body) {
    static const std::string empty;
    return guard(log, procedure, empty, std::forward<Body>(body));
}

}  // namespace vantrell
