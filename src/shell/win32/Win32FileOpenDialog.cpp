#include "shell/win32/Win32FileOpenDialog.h"

#include <commdlg.h>

#include <sstream>
#include <vector>

#include "diag/Failure.h"
#include "diag/Utf16.h"

namespace vantrell::win32 {

std::wstring fileDialogFilter(const std::string& filter) {
    std::wstring result = widen(filter);
    for (wchar_t& c : result) {
        if (c == L'|') {
            c = L'\0';
        }
    }
    result.push_back(L'\0');
    result.push_back(L'\0');
    return result;
}

std::string Win32FileOpenDialog::showOpen(const std::string& filter, int flags) {
    const std::wstring filterText = fileDialogFilter(filter);
    // Room for a long path; a longer one is reported as the failure it is.
    std::vector<wchar_t> fileName(32768, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = GetActiveWindow();
    dialog.lpstrFilter = filterText.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = fileName.data();
    dialog.nMaxFile = static_cast<DWORD>(fileName.size());
    dialog.Flags = static_cast<DWORD>(flags);
    if (hook_ != nullptr) {
        dialog.Flags |= OFN_ENABLEHOOK | OFN_EXPLORER;
        dialog.lpfnHook = hook_;
    }
    if (GetOpenFileNameW(&dialog)) {
        return narrow(fileName.data());
    }
    const DWORD error = CommDlgExtendedError();
    if (error == 0) {
        return {};  // cancelled
    }
    std::ostringstream text;
    text << "The file-open dialog failed (error 0x" << std::hex << error << ").";
    throw Failure(text.str());
}

}  // namespace vantrell::win32
