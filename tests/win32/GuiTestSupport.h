#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

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
// Clicks `control` of `dialog` now, returning when the click's work is done.
void sendClick(HWND dialog, int control);

// The lines of a list box, top to bottom.
std::vector<std::wstring> listBoxLines(HWND list);
// A click on a column's title, as the mouse makes it on a list-view's header.
void clickTitle(HWND list, int column);
// The titles of a list-view's first `count` columns.
std::vector<std::wstring> columnTitles(HWND list, int count);

// The IDs of the `count` controls that Tab reaches after `control` in `dialog`, in order.
std::vector<int> tabOrderAfter(HWND dialog, HWND control, int count);

}  // namespace vantrell::testing
