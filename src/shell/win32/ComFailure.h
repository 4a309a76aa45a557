#pragma once

#include <string>

namespace vantrell::win32 {

// The description of a failed COM call as the log shows it: the component's own text (or, when
// it gave none, the system's text for the code) followed by the HRESULT, as in
// "Could not start QuickBooks. (HRESULT 0x80040408)".
std::string comFailureText(long hresult, const std::string& componentText);

}  // namespace vantrell::win32
