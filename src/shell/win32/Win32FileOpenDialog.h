#pragma once

#include <windows.h>

#include <commdlg.h>

#include <string>

#include "shell/win32/CommonFileDialog.h"
#include "shell/window/frmLocateCHdata.h"

namespace vantrell::win32 {

// The file-open dialog GetOpenFileNameW, owned by the active window. The flags are passed as
// they are (4: read-only box hidden; no existence check). Cancelling returns ""; a failure of
// the dialog itself throws Failure with its error code.
class Win32FileOpenDialog final : public FileOpenDialog {
  public:
    // `hook` lets tests drive the real dialog; the program passes none.
    explicit Win32FileOpenDialog(LPOFNHOOKPROC hook = nullptr) : hook_(hook) {}

    // The chosen path as UTF-8, "" when cancelled; throws Failure as the class says.
    std::string showOpen(const std::string& filter, int flags) override;

  private:
    LPOFNHOOKPROC hook_;
};

}  // namespace vantrell::win32
