#pragma once

#include <string>
#include <string_view>

namespace vantrell::testing {

// `text` with the five characters that XML reserves written as entities, for character data
// and attribute values alike.
std::string xmlEscaped(std::string_view text);

}  // namespace vantrell::testing
