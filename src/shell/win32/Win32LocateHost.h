#pragma once

#include <windows.h>

#include "shell/window/frmLocateCHdata.h"

namespace vantrell::win32 {

// Shows frmLocateCHdata (dialog resource IDD_FRMLOCATECHDATA) modally over its owner, centred
// on the screen, laid out in twips, and returns when it has closed.
class Win32LocateHost final : public LocateDialogHost {
  public:
    // The window the dialog is modal over; none while there is no main window.
    void setOwner(HWND owner) { owner_ = owner; }
    // Runs the loaded `dialog` until one of its buttons closes it; returns at once, the
    // dialog still open, when its window cannot be created. Never throws.
    void showModal(frmLocateCHdata& dialog) override;

    // Called with the dialog's window once it has opened; lets tests drive it.
    void setOpenedHook(void (*hook)(HWND dialog, void* context), void* context) {
        openedHook_ = hook;
        hookContext_ = context;
    }

  private:
    static INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

    HWND owner_ = nullptr;
    void (*openedHook_)(HWND, void*) = nullptr;
    void* hookContext_ = nullptr;
};

}  // namespace vantrell::win32
