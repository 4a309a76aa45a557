#pragma once

#include <windows.h>

namespace vantrell::win32 {

// Shows the line of the list box `list` under the mouse whole, as a tooltip: the list's lines
// (a hint, the accounting system's message) are often wider than the list. The lines
// themselves are left as they are; the tooltip goes with the list when it is destroyed.
void addLineTips(HWND list, int dotsPerInch);

}  // namespace vantrell::win32
