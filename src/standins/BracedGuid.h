#pragma once

#include <string>

namespace vantrell::standins {

// A new random identifier in the form the accounting system hands out for session tickets and
// query iterators: a GUID in braces, "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}".
std::string newBracedGuid();

}  // namespace vantrell::standins
