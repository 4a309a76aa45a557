#pragma once

#include <windows.h>

namespace vantrell::win32 {

// A control's place in twips, relative to the window's client area.
struct TwipsRect {
    int control;
    int left;
    int top;
    int width;
    int height;
};

// Sizes `dialog` so that its client area is `width` x `height` twips, centres it on the
// screen's work area and places each control at its position in twips, all at `dotsPerInch`.
void layOutInTwips(HWND dialog, int width, int height, const TwipsRect* controls, int count,
                   int dotsPerInch);

}  // namespace vantrell::win32
