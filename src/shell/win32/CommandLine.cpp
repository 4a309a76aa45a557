#include "shell/win32/CommandLine.h"

#include "diag/Utf16.h"

namespace vantrell::win32 {

std::vector<std::string> utf8Arguments(int argc, wchar_t** argv) {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.push_back(narrow(argv[i]));
    }
    return arguments;
}

}  // namespace vantrell::win32
