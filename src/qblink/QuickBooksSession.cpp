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
        log_.WriteLogEntry("ERROR", "OpenQBConnection", step);
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
