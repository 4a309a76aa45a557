#include "shell/win32/Win32FileSaveDialog.h"

#include <algorithm>
#include <sstream>
#include <vector>

#include "diag/Failure.h"
#include "diag/Utf16.h"
#include "shell/win32/Win32FileOpenDialog.h"

namespace vantrell::win32 {

std::string Win32FileSaveDialog::showSave(const std::string& filter,
                                          const std::string& suggestedName) {
    const std::wstring filterText = fileDialogFilter(filter);
    std::vector<wchar_t> fileName(32768, L'\0');
    const std::wstring suggested = widen(suggestedName);
    suggested.copy(fileName.data(), std::min(suggested.size(), fileName.size() - 1));
    // The extension of the filter's pattern ("*.csv") is added to a name typed without one.
    std::wstring extension;
    if (const auto star = filter.rfind("*."); star != std::string::npos) {
        extension = widen(filter.substr(star + 2));
    }
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = GetActiveWindow();
    dialog.lpstrFilter = filterText.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = fileName.data();
    dialog.nMaxFile = static_cast<DWORD>(fileName.size());
    dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (hook_ != nullptr) {
        dialog.Flags |= OFN_ENABLEHOOK | OFN_EXPLORER;
        dialog.lpfnHook = hook_;
    }
    if (GetSaveFileNameW(&dialog)) {
        return narrow(fileName.data());
    }
    const DWORD error = CommDlgExtendedError();
    if (error == 0) {
        return {};  // cancelled
    }
    std::ostringstream text;
    text << "The file-save dialog failed (error 0x" << std::hex << error << ").";
    throw Failure(text.str());
}

}  // namespace vantrell::win32
