#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "qblink/RequestProcessor.h"

namespace vantrell {

// Replays saved responses: each ProcessRequest answers with the next file of a folder, in
// name order, byte for byte, whatever the request; when none is left it fails. The other
// operations succeed. Hidden files and sub-folders are passed over.
class ReplayRequestProcessor final : public RequestProcessor {
  public:
    // Takes the folder's list of files now; throws Failure when the folder does not exist.
    explicit ReplayRequestProcessor(const std::filesystem::path& folder);

    // Succeed whatever they are given; BeginSession's ticket is "replay".
    void OpenConnection(const std::string& appID, const std::string& appName) override;
    std::string BeginSession(const std::string& qbFileName, int fileMode) override;
    // The next saved response, whatever the ticket and the request. Throws Failure when no
    // file is left or the next one cannot be read.
    std::string ProcessRequest(const std::string& ticket, const std::string& request) override;
    // Succeed whatever came before.
    void EndSession(const std::string& ticket) override;
    void CloseConnection() override;

  private:
    std::filesystem::path folder_;
    std::vector<std::filesystem::path> responses_;
    std::size_t next_ = 0;
};

}  // namespace vantrell
