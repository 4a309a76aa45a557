#include "standins/ProcessorChoice.h"

#include <memory>

#include "diag/Failure.h"
#include "diag/FileSystem.h"
#include "standins/ReplayRequestProcessor.h"
#include "standins/SimulatedRequestProcessor.h"

namespace vantrell {

RequestProcessorFactory processorFactoryFor(const std::string& option) {
    if (option == "sim") {
        return []() -> std::unique_ptr<RequestProcessor> {
            return std::make_unique<SimulatedRequestProcessor>();
        };
    }
    constexpr std::string_view replay = "replay:";
    if (option.starts_with(replay) && option.size() > replay.size()) {
        const auto folder = utf8ToPath(option.substr(replay.size()));
        return [folder]() -> std::unique_ptr<RequestProcessor> {
            return std::make_unique<ReplayRequestProcessor>(folder);
        };
    }
    throw Failure("Unknown request processor \"" + option +
                  "\": use \"sim\" or \"replay:\" followed by a folder.");
}

}  // namespace vantrell
