#pragma once

#include <string>

namespace vantrell::win32 {

// The system's own text for a Windows error code or HRESULT, without the trailing line break;
// "" when the system has none.
std::string systemMessage(unsigned long code);

}  // namespace vantrell::win32
