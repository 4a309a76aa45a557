#pragma once

#include <windows.h>

namespace vantrell::win32 {

// Remembers which of the program's own windows (the main window and the locate dialog; message
// boxes and the file-open dialog are not among them) was active last, so that the main window
// can tell a return from another of its windows from a return from a message box or from
// another application.
class ActivationTracker {
  public:
    // The program's one tracker.
    static ActivationTracker& instance();

    // Called by each of the program's windows when it becomes active. Returns the window of
    // the program that was active before, or null when there was none.
    HWND becameActive(HWND window);

    // Called by a window of the program as it is destroyed, so that a later window with the
    // same handle is not taken for it.
    void forget(HWND window);

  private:
    HWND last_ = nullptr;
};

}  // namespace vantrell::win32
