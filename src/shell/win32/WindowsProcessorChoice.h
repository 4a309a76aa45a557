#pragma once

#include <string>

#include "qblink/RequestProcessor.h"

namespace vantrell::win32 {

// The name of the accounting system's own request processor, the default on Windows.
inline constexpr const char* kComProcessorName = "qbxmlrp";

// The request processor that the --processor option names on Windows: "qbxmlrp" (the
// accounting system's COM component), "sim" or "replay:DIR". Throws Failure naming the
// accepted forms for anything else.
RequestProcessorFactory windowsProcessorFactoryFor(const std::string& option);

}  // namespace vantrell::win32
