// press-button.exe CAPTION BUTTON [DESKTOP]: presses the button whose caption is BUTTON
// ("&Close") in the window whose caption is CAPTION, in another running program, as a click
// would; the window is looked for on DESKTOP when given (a Wine desktop of its own). Exit status
// 0 when the button was found and pressed, 1 otherwise. BUTTON "#N" picks instead the command
// numbered N of the window's system menu; "@N:L" selects line L of the window's list box and
// then picks the command numbered N of its context menu.
#include <windows.h>

#include <cwchar>

namespace {

struct Search {
    const wchar_t* caption;
    HWND found = nullptr;
};

BOOL CALLBACK findButton(HWND child, LPARAM context) {
    auto& search = *reinterpret_cast<Search*>(context);
    wchar_t text[256]{};
    GetWindowTextW(child, text, 256);
    if (std::wcscmp(text, search.caption) == 0) {
        search.found = child;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK findListBox(HWND child, LPARAM context) {
    wchar_t name[32]{};
    GetClassNameW(child, name, 32);
    if (_wcsicmp(name, L"ListBox") == 0) {
        *reinterpret_cast<HWND*>(context) = child;
        return FALSE;
    }
    return TRUE;
}

// The list box's line `line` selected, then the context menu's command: as the clerk's right
// click on the line and choice in the menu.
int pickLineCommand(HWND window, const wchar_t* spec) {
    wchar_t* end = nullptr;
    const unsigned long command = std::wcstoul(spec, &end, 10);
    if (end == nullptr || *end != L':') {
        return 1;
    }
    const unsigned long line = std::wcstoul(end + 1, nullptr, 10);
    HWND list = nullptr;
    EnumChildWindows(window, &findListBox, reinterpret_cast<LPARAM>(&list));
    if (list == nullptr ||
        SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(line), 0) == LB_ERR) {
        return 1;
    }
    return PostMessageW(window, WM_COMMAND, MAKEWPARAM(command, 0), 0) ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3 && argc != 4) {
        return 1;
    }
    if (argc == 4) {
        HDESK desktop = OpenDesktopW(argv[3], 0, FALSE, GENERIC_ALL);
        if (desktop == nullptr || !SetThreadDesktop(desktop)) {
            return 1;
        }
    }
    const HWND window = FindWindowW(nullptr, argv[1]);
    if (window == nullptr) {
        return 1;
    }
    if (argv[2][0] == L'#') {
        const unsigned long command = std::wcstoul(argv[2] + 1, nullptr, 10);
        return PostMessageW(window, WM_SYSCOMMAND, command, 0) ? 0 : 1;
    }
    if (argv[2][0] == L'@') {
        return pickLineCommand(window, argv[2] + 1);
    }
    Search search{argv[2]};
    EnumChildWindows(window, &findButton, reinterpret_cast<LPARAM>(&search));
    if (search.found == nullptr || !IsWindowEnabled(search.found)) {
        return 1;
    }
    // Posted, so that this program does not wait for what the click sets off.
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(search.found), BN_CLICKED),
                 reinterpret_cast<LPARAM>(search.found));
    return 0;
}
