#include "shell/win32/ActivationTracker.h"

namespace vantrell::win32 {

ActivationTracker& ActivationTracker::instance() {
    static ActivationTracker tracker;
    return tracker;
}

HWND ActivationTracker::becameActive(HWND window) {
    const HWND before = last_;
    last_ = window;
    return before;
}

void ActivationTracker::forget(HWND window) {
    if (last_ == window) {
        last_ = nullptr;
    }
}

}  // namespace vantrell::win32
