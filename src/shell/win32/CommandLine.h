#pragma once

#include <string>
#include <vector>

namespace vantrell::win32 {

// The program's arguments, without the program name, as UTF-8 texts.
std::vector<std::string> utf8Arguments(int argc, wchar_t** argv);

}  // namespace vantrell::win32
