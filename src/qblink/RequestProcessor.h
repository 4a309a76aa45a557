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

    virtual void OpenConnection(const std::string& appID, const std::string& appName) = 0;
    // Returns the session ticket.
    virtual std::string BeginSession(const std::string& qbFileName, int fileMode) = 0;
    // Returns the whole response document for the whole request document.
    virtual std::string ProcessRequest(const std::string& ticket, const std::string& request) = 0;
    virtual void EndSession(const std::string& ticket) = 0;
    virtual void CloseConnection() = 0;
};

// Creates the request processor on first use; throws Failure when it cannot be created.
using RequestProcessorFactory = std::function<std::unique_ptr<RequestProcessor>()>;

}  // namespace vantrell
