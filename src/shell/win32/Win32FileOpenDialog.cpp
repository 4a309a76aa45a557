#include "shell/win32/Win32FileOpenDialog.h"

namespace vantrell::win32 {

std::string Win32FileOpenDialog::showOpen(const std::string& filter, int flags) {
    CommonFileDialogCall call;
    call.show = &GetOpenFileNameW;
    call.failure = "The file-open dialog failed";
    call.filter = filter;
    call.flags = static_cast<DWORD>(flags);
    call.hook = hook_;
    return runCommonFileDialog(call);
}

}  // namespace vantrell::win32
