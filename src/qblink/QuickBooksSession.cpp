#include "diag/Failure.h"
#include "diag/Guard.h"
#include "diag/RequireObject.h"
#include "qblink/QuickBooksLink.h"

namespace vantrell {

namespace {

// The identity and mode presented to the accounting system; mode 0 is single-user.
constexpr const char* kAppID = "QBMarwick";
constexpr const char* kAppName = "Chronel interface";
constexpr int kSingleUserMode = 0;

// What the log and the box say of the failure being handled at `step`: when the accounting
// system refused the session because another program has the company file open, that, in the
// user's words (the component's own text names neither the file nor what to do).
std::string failedStepText(const std::string& step, const std::string& companyFile) {
    try {
        throw;
    } catch (const ProcessorFailure& failure) {
        if (companyFileHeldElsewhere(failure.code())) {
            return "Another program has the QuickBooks company file " + companyFile +
                   " open. Vantrell posts time tickets only while it has the company file to "
                   "itself: close the file in the other program, or let it finish, and start "
                   "Vantrell again.";
        }
    } catch (...) {
    }
    return step;
}

}  // namespace

QuickBooksLink::QuickBooksLink(modErrorLog& log, InterfaceDatabase& interfaceDb,
                               const ExtractionOutcome& extraction, const std::string& strQBdata,
                               RequestProcessorFactory factory)
    : log_(log),
      interfaceDb_(interfaceDb),
      extraction_(extraction),
      strQBdata_(strQBdata),
      factory_(std::move(factory)) {}

RequestProcessor& QuickBooksLink::processor() {
    if (!qbXMLRP) {
        if (factory_) {
            qbXMLRP = factory_();
        }
        if (!qbXMLRP) {
            throw Failure("The request processor could not be created.");
        }
    }
    return *qbXMLRP;
}

db::Connection& QuickBooksLink::interfaceConnection() {
    return requireObject(interfaceDb_.cnInterface);
}

bool QuickBooksLink::OpenQBConnection() {
    std::string step = "test connection";
    bool connectionOpen = false;
    try {
        if (blnQBConnected) {
            step = "already connected";
            return true;
        }
        step = "open the connection";
        processor().OpenConnection(kAppID, kAppName);
        connectionOpen = true;

        step = "begin a session at " + strQBdata_;
        ticket = processor().BeginSession(strQBdata_, kSingleUserMode);
        sessionCompanyFile_ = strQBdata_;
        pagedCheckRefused_ = false;

        step = "set blnQBConnected=true";
        blnQBConnected = true;
        step = "set OpenQBConnection=true";
        return true;
    } catch (const EndProgram&) {
        throw;
    } catch (...) {
        blnQBConnected = false;
        if (connectionOpen) {
            // A failure of this close is the caller's to log: it leaves here unhandled.
            processor().CloseConnection();
        }
        log_.WriteLogEntry("ERROR", "OpenQBConnection", failedStepText(step, strQBdata_));
        return false;
    }
}

void QuickBooksLink::CloseQBConnection() {
    guard(log_, "CloseQBConnection", [&] {
        if (!blnQBConnected) {
            return;
        }
        processor().EndSession(ticket);
        processor().CloseConnection();
        blnQBConnected = false;
        sessionCompanyFile_.clear();
    });
}

}  // namespace vantrell
