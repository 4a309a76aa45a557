#include "shell/win32/Win32Prompter.h"

#include <windows.h>

#include "diag/Utf16.h"

namespace vantrell::win32 {

unsigned int messageBoxStyle(MessageIcon icon) {
    return MB_OK | MB_SETFOREGROUND |
           (icon == MessageIcon::Warning ? MB_ICONEXCLAMATION : MB_ICONINFORMATION);
}

void Win32Prompter::show(const std::string& text, const std::string& title, MessageIcon icon) {
    MessageBoxW(GetActiveWindow(), widen(text).c_str(), widen(title).c_str(),
                messageBoxStyle(icon));
}

}  // namespace vantrell::win32
