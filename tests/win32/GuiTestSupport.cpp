#include "GuiTestSupport.h"

#include <commctrl.h>

namespace vantrell::testing {

bool canOpenWindows() {
    const HWND probe = CreateWindowExW(0, L"STATIC", L"probe", WS_POPUP, 0, 0, 1, 1, nullptr,
                                       nullptr, GetModuleHandleW(nullptr), nullptr);
    if (probe == nullptr) {
        return false;
    }
    DestroyWindow(probe);
    return true;
}

bool pumpUntil(const std::function<bool()>& done, int milliseconds, HWND dialog) {
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(milliseconds);
    while (!done()) {
        if (GetTickCount64() > end) {
            return done();
        }
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (dialog == nullptr || !IsWindow(dialog) || !IsDialogMessageW(dialog, &message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

std::wstring windowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

RECT clientRectOf(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

RECT clientSize(HWND window) {
    RECT rect{};
    GetClientRect(window, &rect);
    return rect;
}

void postClick(HWND dialog, int control) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(control, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, control)));
}

void sendClick(HWND dialog, int control) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(control, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, control)));
}

std::vector<std::wstring> listBoxLines(HWND list) {
    std::vector<std::wstring> lines;
    const auto count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        std::wstring line(
            static_cast<std::size_t>(SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0)),
            L'\0');
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(line.data()));
        lines.push_back(line);
    }
    return lines;
}

void clickTitle(HWND list, int column) {
    const auto header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    RECT rect{};
    SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(column),
                 reinterpret_cast<LPARAM>(&rect));
    const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(header, WM_LBUTTONUP, 0, at);
}

std::vector<std::wstring> columnTitles(HWND list, int count) {
    const auto header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    std::vector<std::wstring> titles;
    for (int c = 0; c < count; ++c) {
        wchar_t title[64] = {};
        HDITEMW item{};
        item.mask = HDI_TEXT;
        item.pszText = title;
        item.cchTextMax = 64;
        SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&item));
        titles.push_back(title);
    }
    return titles;
}

std::vector<int> tabOrderAfter(HWND dialog, HWND control, int count) {
    std::vector<int> order;
    for (int i = 0; i < count; ++i) {
        control = GetNextDlgTabItem(dialog, control, FALSE);
        order.push_back(GetDlgCtrlID(control));
    }
    return order;
}

}  // namespace vantrell::testing
