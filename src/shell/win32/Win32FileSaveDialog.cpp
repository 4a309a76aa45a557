#include "shell/win32/Win32FileSaveDialog.h"

#include "diag/Utf16.h"
#include "shell/win32/CommonFileDialog.h"

namespace vantrell::win32 {

std::string Win32FileSaveDialog::showSave(const std::string& filter,
                                          const std::string& suggestedName) {
    // The extension of the filter's pattern ("*.csv") is added to a name typed without one.
    std::wstring extension;
    if (const auto star = filter.rfind("*."); star != std::string::npos) {
        extension = widen(filter.substr(star + 2));
    }
    CommonFileDialogCall call;
    call.show = &GetSaveFileNameW;
    call.failure = "The file-save dialog failed";
    call.filter = filter;
    call.suggestedName = suggestedName;
    call.flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    call.defaultExtension = extension.empty() ? nullptr : extension.c_str();
    call.hook = hook_;
    return runCommonFileDialog(call);
}

}  // namespace vantrell::win32
