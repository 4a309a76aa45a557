#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace vantrell::testing {

// True when windows can be opened here (a display is there: Xvfb under Wine).
bool canOpenWindows();

// Runs the thread's messages, through `dialog`'s keyboard handling when given, until `done`
// returns true or `milliseconds` have passed. Returns what `done` last returned.
bool pumpUntil(const std::function<bool()>& done, int milliseconds = 5000, HWND dialog = nullptr);

// A control's text and its place relative to its window's client area.
std::wstring windowText(HWND window);
RECT clientRectOf(HWND control);
RECT clientSize(HWND window);

// Clicks `control` of `dialog` when the dialog's own message loop runs next.
void postClick(HWND dialog, int control);

}  // namespace vantrell::testing
