#include "shell/win32/CommonFileDialog.h"

#include <algorithm>
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

std::string runCommonFileDialog(const CommonFileDialogCall& call) {
    const std::wstring filterText = fileDialogFilter(call.filter);
    // Room for a long path; a longer one is reported as the failure it is.
    std::vector<wchar_t> fileName(32768, L'\0');
    const std::wstring suggested = widen(call.suggestedName);
    suggested.copy(fileName.data(), std::min(suggested.size(), fileName.size() - 1));
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = GetActiveWindow();
    dialog.lpstrFilter = filterText.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = fileName.data();
    dialog.nMaxFile = static_cast<DWORD>(fileName.size());
    dialog.lpstrDefExt = call.defaultExtension;
    dialog.Flags = call.flags;
    if (call.hook != nullptr) {
        dialog.Flags |= OFN_ENABLEHOOK | OFN_EXPLORER;
        dialog.lpfnHook = call.hook;
    }
    if (call.show(&dialog)) {
        return narrow(fileName.data());
    }
    const DWORD error = CommDlgExtendedError();
    if (error == 0) {
        return {};  // cancelled
    }
    std::ostringstream text;
    text << call.failure << " (error 0x" << std::hex << error << ").";
    throw Failure(text.str());
}

}  // namespace vantrell::win32
