#pragma once

#include <windows.h>

#include <commdlg.h>

#include <string>

namespace vantrell::win32 {

// "Description|pattern|..." as the filter that GetOpenFileNameW takes: the same entries, each
// part ended by a null and the whole by a second one.
std::wstring fileDialogFilter(const std::string& filter);

// What the open and the save dialog share: GetOpenFileNameW or GetSaveFileNameW.
struct CommonFileDialogCall {
    BOOL(WINAPI* show)(LPOPENFILENAMEW) = nullptr;
    const char* failure = "";  // "The file-open dialog failed"
    std::string filter;        // as fileDialogFilter() takes it
    std::string suggestedName;
    DWORD flags = 0;
    const wchar_t* defaultExtension = nullptr;
    LPOFNHOOKPROC hook = nullptr;  // lets tests drive the real dialog
};

// Shows the dialog owned by the active window, the first filter chosen and the suggested
// name filled in, and returns the path chosen as UTF-8, or "" when cancelled. A failure of the
// dialog itself throws Failure naming `failure` and its error code.
std::string runCommonFileDialog(const CommonFileDialogCall& call);

}  // namespace vantrell::win32
