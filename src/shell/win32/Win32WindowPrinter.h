#pragma once

#include <windows.h>

#include "shell/window/frmVantrell.h"

namespace vantrell::win32 {

// Prints an image of a window, as it is shown, on the default printer, scaled to the page and
// without a print dialog. Throws Failure when there is no default printer or printing fails.
class Win32WindowPrinter final : public WindowPrinter {
  public:
    // The window to print.
    void setWindow(HWND window) { window_ = window; }
    // Throws Failure as the class says, and when no window has been set.
    void printWindowImage() override;

  private:
    HWND window_ = nullptr;
};

}  // namespace vantrell::win32
