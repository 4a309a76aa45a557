#pragma once

#include <memory>
#include <string>
#include <vector>

#include "qblink/RequestProcessor.h"

namespace vantrell::win32 {

class DispatchObject;

// The ProgIDs of the accounting system's request processor, in the order tried: the current
// one, then the one that came before it.
inline const std::vector<std::wstring> kRequestProcessorProgIds = {L"QBXMLRP2.RequestProcessor",
                                                                   L"QBXMLRP.RequestProcessor"};

// The accounting system's own qbXML request processor, a COM component created by ProgID and
// called through IDispatch late binding. Every failure, an error raised by the component
// included, is thrown as a Failure whose description is the component's text and its HRESULT.
class ComRequestProcessor final : public RequestProcessor {
  public:
    // Creates the first of `progIds` that can be created. Throws Failure naming each ProgID
    // and why it failed when none can. Joins the calling thread to a single-threaded COM
    // apartment for the object's life when it is not in one yet.
    explicit ComRequestProcessor(
        const std::vector<std::wstring>& progIds = kRequestProcessorProgIds);
    ~ComRequestProcessor() override;
    ComRequestProcessor(const ComRequestProcessor&) = delete;
    ComRequestProcessor& operator=(const ComRequestProcessor&) = delete;

    // Call the component's method of the same name, passing the arguments on as they are and
    // returning its result; each throws Failure as the class says.
    void OpenConnection(const std::string& appID, const std::string& appName) override;
    std::string BeginSession(const std::string& qbFileName, int fileMode) override;
    std::string ProcessRequest(const std::string& ticket, const std::string& request) override;
    void EndSession(const std::string& ticket) override;
    void CloseConnection() override;

  private:
    bool uninitialize_ = false;
    std::unique_ptr<DispatchObject> object_;
};

}  // namespace vantrell::win32
