#include "shell/win32/DialogLayout.h"

#include "shell/win32/Twips.h"

namespace vantrell::win32 {

void layOutInTwips(HWND dialog, int width, int height, const TwipsRect* controls, int count,
                   int dotsPerInch) {
    RECT frame{0, 0, twipsToPixels(width, dotsPerInch), twipsToPixels(height, dotsPerInch)};
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE));
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    const int outerWidth = frame.right - frame.left;
    const int outerHeight = frame.bottom - frame.top;

    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int left = work.left + (work.right - work.left - outerWidth) / 2;
    const int top = work.top + (work.bottom - work.top - outerHeight) / 2;
    SetWindowPos(dialog, nullptr, left, top, outerWidth, outerHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);

    for (int i = 0; i < count; ++i) {
        const TwipsRect& place = controls[i];
        SetWindowPos(GetDlgItem(dialog, place.control), nullptr,
                     twipsToPixels(place.left, dotsPerInch), twipsToPixels(place.top, dotsPerInch),
                     twipsToPixels(place.width, dotsPerInch),
                     twipsToPixels(place.height, dotsPerInch), SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

}  // namespace vantrell::win32
