#pragma once

namespace vantrell::win32 {

// Positions and sizes of the windows are given in twips (1/1440 inch); they become pixels at
// the screen's resolution in dots per inch.
int twipsToPixels(int twips, int dotsPerInch);

// The screen's resolution (the system's logical dots per inch).
int screenDotsPerInch();

}  // namespace vantrell::win32
