#pragma once

#include <string>

#include "qblink/RequestProcessor.h"

namespace vantrell {

// The request processor that the --processor option names: "sim" (the simulated accounting
// system, the default) or "replay:DIR" (the saved responses in folder DIR, in name order).
// Throws Failure with a text naming the accepted forms for anything else. A replay folder that
// does not exist is reported when the factory creates the processor.
RequestProcessorFactory processorFactoryFor(const std::string& option);

}  // namespace vantrell
