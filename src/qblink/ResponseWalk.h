#pragma once

#include <string>
#include <utility>

#include "diag/Failure.h"
#include "diag/modErrorLog.h"
#include "interfacedb/DbError.h"

namespace vantrell {

// One walk of an answer, step by step, as ParseResponseXML makes it: the step in progress and
// the status message of the last refusal, under which later failures are logged.
class ResponseWalk {
  public:
    // A walk of the `returnElement` elements that logs to `log`, which must outlive it.
    ResponseWalk(modErrorLog& log, std::string returnElement)
        : log_(log), returnElement_(std::move(returnElement)) {}

    // What the walk is doing now, named in the log when a step fails; the caller sets it.
    std::string step;
    // The status message of the last refusal; while it is not empty, failures are logged
    // under it instead of the step.
    std::string failureText;

    // Runs one step and tells whether it succeeded. A failure is logged, under the failure
    // text when there is one, otherwise under a procedure name that tells the step; the walk
    // then goes on with the next step. The end of the program passes on, and so does a
    // transaction that SQLite has rolled back: no later step could be kept either.
    template <class Body>
    bool attempt(Body&& body) {
        try {
            body();
            return true;
        } catch (const EndProgram&) {
            throw;
        } catch (const db::TransactionLost&) {
            throw;
        } catch (...) {
            logFailure();
            return false;
        }
    }

    // Logs the failure being handled as attempt() does.
    void logFailure() {
        if (!failureText.empty()) {
            log_.WriteLogEntry("ERROR", "ParseResponseXML", failureText);
        } else {
            log_.WriteLogEntry("ERROR", "in ParseResponseXML : " + returnElement_ + " : " + step,
                               "");
        }
    }

  private:
    modErrorLog& log_;
    std::string returnElement_;
};

}  // namespace vantrell
