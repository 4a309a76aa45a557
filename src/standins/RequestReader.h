#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "standins/QbxmlRequests.h"

namespace vantrell::standins {

// Reads a whole qbXML request message. The message must be well-formed, declare a known
// version, and hold only the elements and attributes of the requests this accounting system
// answers, each in its place; any other content is a parse error of the whole message and
// nothing of it is processed. Throws ProcessorError (ParseError, UnsupportedVersion,
// RollbackNotSupported). An accounting system that answers no version above `highestVersion`,
// when given, refuses a later one as it refuses a version it does not know (UnsupportedVersion).
// A message that keeps requests as text refers to `text`, which must outlive it.
QbxmlMessage readQbxmlMessage(std::string_view text,
                              const std::optional<std::string>& highestVersion = std::nullopt);

// The request of `message.entries[i]`, moved out of the message or read from its text (checked
// when the message was read, so it reads again without fault). Call once for each entry.
QbxmlRequest takeRequest(QbxmlMessage& message, std::size_t i);

}  // namespace vantrell::standins
