// press-button.exe CAPTION BUTTON [DESKTOP]: presses the button whose caption is BUTTON
// ("&Close") in the window whose caption is CAPTION, in another running program, as a click
// would; the window is looked for on DESKTOP when given (a Wine desktop of its own). Exit status
// 0 when the button was found and pressed, 1 otherwise. BUTTON "#N" picks instead the command
// numbered N of the window's system menu.
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
