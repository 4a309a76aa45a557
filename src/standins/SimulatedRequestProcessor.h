#pragma once

#include <memory>
#include <string>

#include "qblink/RequestProcessor.h"
#include "standins/QueryIterators.h"
#include "standins/RequestHandler.h"

namespace vantrell {

namespace standins {
class CompanyFile;
class CompanyFileHold;
}  // namespace standins

// The accounting system's request processor, simulated: a session opens a company file made
// with qbsim, and requests are answered from it as the accounting system answers them. Each
// operation fails as the real component does, with a standins::ProcessorError whose text is
// the component's own: OpenConnection without an application name or twice; BeginSession
// without OpenConnection, during a session, with an unknown file mode, an empty path, or a
// file that is missing or not a company file, or a company file that another session holds in a
// way that excludes this one (see BeginSession); ProcessRequest and EndSession without a session
// or with another ticket; CloseConnection without a connection or during a session.
class SimulatedRequestProcessor final : public RequestProcessor {
  public:
    // Unconnected; what it stores is dated by `clock`.
    explicit SimulatedRequestProcessor(standins::UnixClock clock = standins::systemUnixSeconds);
    ~SimulatedRequestProcessor() override;

    // Each does what RequestProcessor says and fails as listed above.
    void OpenConnection(const std::string& appID, const std::string& appName) override;
    // Opens the company file `qbFileName` and returns the session's ticket. The session holds
    // the file until EndSession, across processes: a single-user session (mode 0) alone, and
    // multi-user (1) or "either" (2) sessions together. A single-user session is refused while
    // any other holds the file (0x80040422), another mode while a single-user one holds it
    // (0x80040410).
    std::string BeginSession(const std::string& qbFileName, int fileMode) override;
    // The response message to `request`; also throws what RequestHandler::handle throws. Query
    // iterators started by one request serve the session's later ones.
    std::string ProcessRequest(const std::string& ticket, const std::string& request) override;
    // Closes the company file.
    void EndSession(const std::string& ticket) override;
    void CloseConnection() override;

  private:
    standins::UnixClock clock_;
    bool connected_ = false;
    std::unique_ptr<standins::CompanyFileHold> hold_;
    std::unique_ptr<standins::CompanyFile> file_;
    std::string ticket_;
    // The query iterators the session's requests started; they end with the session.
    standins::QueryIterators iterators_;

    void checkSession(const std::string& ticket) const;
};

}  // namespace vantrell
