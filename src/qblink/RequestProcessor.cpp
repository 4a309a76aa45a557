#include "qblink/RequestProcessor.h"

namespace vantrell {

RequestProcessor::~RequestProcessor() = default;

}  // namespace vantrell
