#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "diag/Failure.h"

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

// A failure that the request processor reported with a code of its own (an HRESULT), so that a
// caller can tell the cases it must word for the user apart; what() is the component's text.
class ProcessorFailure : public Failure {
  public:
    ProcessorFailure(std::uint32_t code, const std::string& text) : Failure(text), code_(code) {}
    std::uint32_t code() const { return code_; }

  private:
    std::uint32_t code_;
};

// The request processor's codes for a company file that another application holds: this one
// asked for single-user mode while another shares the file, or asked for another mode than the
// one the file is open in.
constexpr std::uint32_t kSingleUserFileShared = 0x80040422;
constexpr std::uint32_t kFileOpenInOtherMode = 0x80040410;

// The request processor's code for a request message in a qbXML version that the accounting
// system does not take.
constexpr std::uint32_t kUnsupportedQbxmlVersion = 0x80040423;

// Whether `code` is one of those: another program has the company file open.
constexpr bool companyFileHeldElsewhere(std::uint32_t code) {
    return code == kSingleUserFileShared || code == kFileOpenInOtherMode;
}

// Creates the request processor on first use; throws Failure when it cannot be created.
using RequestProcessorFactory = std::function<std::unique_ptr<RequestProcessor>()>;

}  // namespace vantrell
