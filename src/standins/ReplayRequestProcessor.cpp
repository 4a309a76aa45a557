#include "standins/ReplayRequestProcessor.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <system_error>

#include "diag/Failure.h"
#include "diag/FileSystem.h"

namespace vantrell {

ReplayRequestProcessor::ReplayRequestProcessor(const std::filesystem::path& folder)
    : folder_(folder) {
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) {
        throw Failure("The replay folder \"" + pathToUtf8(folder) + "\" does not exist.");
    }
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (fileExists(entry.path())) {
            responses_.push_back(entry.path());
        }
    }
    if (error) {
        throw Failure("The replay folder \"" + pathToUtf8(folder) +
                      "\" cannot be read: " + error.message());
    }
    // Name order by the bytes of the UTF-8 names, the same on every platform.
    std::sort(responses_.begin(), responses_.end(), [](const auto& a, const auto& b) {
        return pathToUtf8(a.filename()) < pathToUtf8(b.filename());
    });
}

void ReplayRequestProcessor::OpenConnection(const std::string&, const std::string&) {}

std::string ReplayRequestProcessor::BeginSession(const std::string&, int) {
    return "replay";
}

std::string ReplayRequestProcessor::ProcessRequest(const std::string&, const std::string&) {
    if (next_ >= responses_.size()) {
        throw Failure("No saved response is left in the replay folder \"" + pathToUtf8(folder_) +
                      "\".");
    }
    const auto& path = responses_[next_];
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    if (in) {
        text << in.rdbuf();
    }
    if (!in.is_open() || in.bad()) {
        throw Failure("The saved response \"" + pathToUtf8(path) + "\" cannot be read.");
    }
    ++next_;
    return text.str();
}

void ReplayRequestProcessor::EndSession(const std::string&) {}

void ReplayRequestProcessor::CloseConnection() {}

}  // namespace vantrell
