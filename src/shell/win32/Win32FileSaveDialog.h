#pragma once

#include <windows.h>

#include <commdlg.h>

#include "shell/window/FrontEnd.h"

namespace vantrell::win32 {

// The file-save dialog GetSaveFileNameW, owned by the active window: the suggested name filled
// in, the filter's extension added to a name typed without one, a question before a file is
// replaced. Cancelling returns ""; a failure of the dialog itself throws Failure with its code.
class Win32FileSaveDialog final : public FileSaveDialog {
  public:
    // `hook` lets tests drive the real dialog; the program passes none.
    explicit Win32FileSaveDialog(LPOFNHOOKPROC hook = nullptr) : hook_(hook) {}

    std::string showSave(const std::string& filter, const std::string& suggestedName) override;

  private:
    LPOFNHOOKPROC hook_;
};

}  // namespace vantrell::win32
