#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "qblink/RequestProcessor.h"

namespace vantrell::testing {

// What a fake request processor does and what it was asked, kept by the test so that it
// outlives the processor the link owns.
struct ProcessorScript {
    // Operation name -> failure description: that operation throws Failure with it.
    std::map<std::string, std::string> failures;
    bool failCreation = false;
    std::string ticketToIssue = "{ticket-1}";
    // Answers to ProcessRequest, in order; an exhausted queue answers "".
    std::deque<std::string> responses;

    // The answer to a query of posted time tickets, asked apart from the queue above: by
    // default the accounting system holds none. Empty: the query fails with
    // `checkFailure`.
    std::string postedTicketsAnswer =
        "<?xml version=\"1.0\" ?><QBXML><QBXMLMsgsRs><TimeTrackingQueryRs requestID=\"1\" "
        "statusCode=\"1\" statusSeverity=\"Info\" statusMessage=\"A query request did not "
        "find a matching object in QuickBooks\"/></QBXMLMsgsRs></QBXML>";
    std::string checkFailure = "The request processor could not be reached.";
    std::vector<std::string> checkRequests;
    // A paged query (an iterator's Start, Continue or Stop) is answered by `pageAnswer` when
    // set; else with postedTicketsAnswer as its one page (an answer that does not say where
    // its iterator stands is given iteratorRemainingCount 0 and an iteratorID). With
    // `refusesPages` the request processor refuses its version, as an accounting system that
    // knows only older ones does. Paged queries are kept in checkRequests too.
    std::function<std::string(const std::string& request)> pageAnswer;
    bool refusesPages = false;

    // The answer to the question behind the hints under missing names, also apart from the
    // queue: no employee and no payroll item.
    std::string hintsAnswer =
        "<?xml version=\"1.0\" ?><QBXML><QBXMLMsgsRs><EmployeeQueryRs requestID=\"1\" "
        "statusCode=\"1\" statusSeverity=\"Info\" statusMessage=\"none\"/><PayrollItemWageQueryRs "
        "requestID=\"2\" statusCode=\"1\" statusSeverity=\"Info\" statusMessage=\"none\"/>"
        "<PayrollItemNonWageQueryRs requestID=\"3\" statusCode=\"1\" statusSeverity=\"Info\" "
        "statusMessage=\"none\"/></QBXMLMsgsRs></QBXML>";
    std::vector<std::string> hintRequests;

    // Runs when a request of the queue above has been taken, before its answer is given (the
    // accounting system has it): what the world does meanwhile.
    std::function<void()> beforeAnswer;

    int created = 0;
    std::vector<std::string> calls;     // one line per operation, with its arguments
    std::vector<std::string> requests;  // the documents given to ProcessRequest

    RequestProcessorFactory factory();
};

class FakeRequestProcessor final : public RequestProcessor {
  public:
    explicit FakeRequestProcessor(ProcessorScript& script) : script_(script) {}

    void OpenConnection(const std::string& appID, const std::string& appName) override;
    std::string BeginSession(const std::string& qbFileName, int fileMode) override;
    std::string ProcessRequest(const std::string& ticket, const std::string& request) override;
    void EndSession(const std::string& ticket) override;
    void CloseConnection() override;

  private:
    void call(const std::string& operation, const std::string& line);
    std::string pageOf(const std::string& request);
    ProcessorScript& script_;
};

}  // namespace vantrell::testing
