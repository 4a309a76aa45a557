#pragma once

#include <string>
#include <string_view>

namespace vantrell {

// (Windows only.) UTF-8 text as the wide text that the Windows API takes, and back. Bytes that are
// not UTF-8 become U+FFFD rather than failing, so that any text can be shown.
// Never throw for text of any content.
std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view wide);

}  // namespace vantrell
