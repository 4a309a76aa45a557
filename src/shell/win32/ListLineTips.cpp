#include "shell/win32/ListLineTips.h"

#include <commctrl.h>
#include <windowsx.h>

#include <string>

#include "shell/win32/Twips.h"

namespace vantrell::win32 {

namespace {

struct TipState {
    HWND tip = nullptr;
    int item = -1;  // the line under the mouse, or -1
    std::wstring text;
};

int lineAt(HWND list, int x, int y) {
    const auto found =
        static_cast<DWORD>(SendMessageW(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(x, y)));
    return HIWORD(found) != 0 ? -1 : static_cast<int>(LOWORD(found));
}

std::wstring lineText(HWND list, int item) {
    if (item < 0) {
        return {};
    }
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(item), 0);
    if (length == LB_ERR || length <= 0) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(item),
                 reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

LRESULT CALLBACK listProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                          DWORD_PTR data) {
    auto* state = reinterpret_cast<TipState*>(data);
    switch (message) {
        case WM_MOUSEMOVE: {
            const int item = lineAt(list, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            if (item != state->item) {
                // Another line: the tip shown goes, and the next one asks for its text again.
                state->item = item;
                SendMessageW(state->tip, TTM_POP, 0, 0);
            }
            break;
        }
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->hwndFrom == state->tip && header->code == TTN_GETDISPINFOW) {
                auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
                state->text = lineText(list, state->item);
                info->lpszText = state->text.data();
                return 0;
            }
            break;
        }
        case WM_NCDESTROY:
            RemoveWindowSubclass(list, &listProc, id);
            DestroyWindow(state->tip);
            delete state;
            break;
        default:
            break;
    }
    return DefSubclassProc(list, message, wParam, lParam);
}

}  // namespace

void addLineTips(HWND list, int dotsPerInch) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    const HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                     WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, list, nullptr,
                                     GetModuleHandleW(nullptr), nullptr);
    if (tip == nullptr) {
        return;  // no tips: the lines are still there, behind the scroll bar
    }
    auto* state = new TipState;
    state->tip = tip;
    if (!SetWindowSubclass(list, &listProc, 1, reinterpret_cast<DWORD_PTR>(state))) {
        DestroyWindow(tip);
        delete state;
        return;
    }
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = list;  // receives TTN_GETDISPINFOW, answered above
    tool.uId = reinterpret_cast<UINT_PTR>(list);
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    // A long message wraps at about six inches.
    SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, twipsToPixels(8640, dotsPerInch));
}

}  // namespace vantrell::win32
