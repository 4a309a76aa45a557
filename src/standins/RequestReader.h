#pragma once

#include <string_view>

#include "standins/QbxmlRequests.h"

namespace vantrell::standins {

// Reads a whole qbXML request message. The message must be well-formed, declare a known
// version, and hold only the elements and attributes of the requests this accounting system
// answers, each in its place; any other content is a parse error of the whole message and
// nothing of it is processed. Throws ProcessorError (ParseError, UnsupportedVersion,
// RollbackNotSupported).
QbxmlMessage readQbxmlMessage(std::string_view text);

}  // namespace vantrell::standins
