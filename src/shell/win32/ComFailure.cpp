#include "shell/win32/ComFailure.h"

#include <cstdio>

#include "shell/win32/SystemMessage.h"

namespace vantrell::win32 {

std::string comFailureText(long hresult, const std::string& componentText) {
    char code[32];
    std::snprintf(code, sizeof code, "(HRESULT 0x%08lX)", static_cast<unsigned long>(hresult));
    std::string text = componentText;
    if (text.empty()) {
        text = systemMessage(static_cast<unsigned long>(hresult));
    }
    return text.empty() ? std::string(code) : text + " " + code;
}

}  // namespace vantrell::win32
