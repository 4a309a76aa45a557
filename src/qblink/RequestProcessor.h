#pragma once

#include <functional>
#include <memory>
#include <string>

namespace vantrell {

// The accounting system's qbXML request processor: the five operations the program uses.
// Every failure is thrown as a Failure whose description is the component's own text.
class RequestProcessor {
  public:
    virtual ~RequestProcessor();

    // Connects to the accounting system as the application `appName` with the id `appID`.
    virtual void OpenConnection(const std::string& appID, const std::string& appName) = 0;
    // Opens the company file `qbFileName` in `fileMode` (0: single user) on the open connection.
    // Returns the session ticket.
    virtual std::string BeginSession(const std::string& qbFileName, int fileMode) = 0;
    // Returns the whole response document for the whole request document, sent under the
    // session `ticket`.
    virtual std::string ProcessRequest(const std::string& ticket, const std::string& request) = 0;
    // Ends the session `ticket`; the connection stays open.
    virtual void EndSession(const std::string& ticket) = 0;
    // Closes the connection; a session on it is to be ended first.
    virtual void CloseConnection() = 0;
};

// Creates the request processor on first use; throws Failure when it cannot be created.
using RequestProcessorFactory = std::function<std::unique_ptr<RequestProcessor>()>;

}  // namespace vantrell
