#include "shell/win32/Win32YesNoQuestion.h"

#include <windows.h>

#include "diag/Failure.h"
#include "diag/Utf16.h"

namespace vantrell::win32 {

bool Win32YesNoQuestion::ask(const std::string& text, const std::string& title) {
    // No is the default button: a slip of Enter undoes nothing.
    const int answer = MessageBoxW(GetActiveWindow(), widen(text).c_str(), widen(title).c_str(),
                                   MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
    if (answer == 0) {
        throw Failure("The question could not be shown.");
    }
    return answer == IDYES;
}

}  // namespace vantrell::win32
