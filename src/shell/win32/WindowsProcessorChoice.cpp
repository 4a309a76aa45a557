#include "shell/win32/WindowsProcessorChoice.h"

#include "diag/Failure.h"
#include "shell/win32/ComRequestProcessor.h"
#include "standins/ProcessorChoice.h"

namespace vantrell::win32 {

RequestProcessorFactory windowsProcessorFactoryFor(const std::string& option) {
    if (option == kComProcessorName) {
        return []() -> std::unique_ptr<RequestProcessor> {
            return std::make_unique<ComRequestProcessor>();
        };
    }
    try {
        return processorFactoryFor(option);
    } catch (const Failure&) {
        throw Failure("Unknown request processor \"" + option + "\": use \"" + kComProcessorName +
                      "\" (the accounting system's own), \"sim\" or \"replay:\" followed by a "
                      "folder.");
    }
}

}  // namespace vantrell::win32
