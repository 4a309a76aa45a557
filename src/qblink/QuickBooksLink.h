#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "diag/modErrorLog.h"
#include "interfacedb/ProgramState.h"
#include "qblink/RequestProcessor.h"
#include "qblink/WindowControls.h"

namespace vantrell {

// The main window's link to the accounting system: the request-processor session, the
// resolution of names, the issue list, the response parser and the export. The window owns one
// and calls these from its load, activate, unload and Export button. Every procedure logs its
// own failures and returns normally (OpenQBConnection passes one failure on, see there).
class QuickBooksLink {
  public:
    QuickBooksLink(modErrorLog& log, ProgramState& state, WindowControls& controls,
                   RequestProcessorFactory factory);

    // Session state, for the window's whole life.
    std::unique_ptr<RequestProcessor> qbXMLRP;  // created through the factory on first use
    bool blnQBConnected = false;
    std::string ticket;       // the last session ticket received, never cleared
    std::string requestXML;   // the last request sent
    std::string responseXML;  // the last response received

    // Opens the connection and begins a session on state.strQBdata; True when a session is open
    // at return. A failure is logged with the step that failed and gives False; when the
    // connection had opened it is closed again, and a failure of that close is thrown on to the
    // caller unlogged.
    bool OpenQBConnection();

    // Ends the session and closes the connection when a session is open. A failure is logged
    // and leaves blnQBConnected True.
    void CloseQBConnection();

    // Asks the accounting system for all employees and wage payroll items and deletes every
    // name it returns from Employee and PayType. Traced to "ResolveReq.txt"/"ResolveResp.txt".
    void ResolveWithQB();

    // Lists the names left in Employee and PayType in the window's list and sets the buttons:
    // Export only when nothing is missing.
    void ShowIssues();

    // Applies each `responseElement` of responseXML to the interface database: accepted tickets
    // deleted, rejected ones given their status message, returned `returnElement` names deleted
    // from Employee or PayType. A failed step is logged and the walk goes on. True when the
    // walk reached the end (failed steps included); False when the document does not load or a
    // query answer reports a non-zero status, which also adds a line to the list.
    bool ParseResponseXML(const std::string& responseElement, const std::string& returnElement);

    // The time-tracking request for every row of state.rsPunch, which must be open; leaves it
    // past its last row. Writes "RawData.txt" with the request sent before. On failure logs and
    // returns what it holds: "" before the request is complete.
    std::string BuildRequestString();

    // Posts every staged ticket in one request and applies the response; shows the hourglass
    // meanwhile. On success Export is disabled and "Export complete." is listed.
    void cmdExport_Click();

  private:
    RequestProcessor& processor();
    db::Connection& interfaceConnection();
    std::int64_t listNames(const char* query, const char* linePrefix);

    modErrorLog& log_;
    ProgramState& state_;
    WindowControls& controls_;
    RequestProcessorFactory factory_;
};

}  // namespace vantrell
