#include "shell/win32/Twips.h"

#include <windows.h>

#include <cmath>

namespace vantrell::win32 {

int twipsToPixels(int twips, int dotsPerInch) {
    return static_cast<int>(std::lround(twips * static_cast<double>(dotsPerInch) / 1440.0));
}

int screenDotsPerInch() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
    if (screen != nullptr) {
        ReleaseDC(nullptr, screen);
    }
    return dpi > 0 ? dpi : 96;
}

}  // namespace vantrell::win32
