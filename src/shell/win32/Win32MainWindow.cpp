#include "shell/win32/Win32MainWindow.h"

#include <windowsx.h>

#include <iterator>

#include "diag/Failure.h"
#include "diag/Utf16.h"
#include "shell/win32/ActivationTracker.h"
#include "shell/win32/DialogLayout.h"
#include "shell/win32/ListLineTips.h"
#include "shell/win32/Twips.h"
#include "shell/win32/Win32HistoryWindow.h"
#include "shell/win32/Win32NameMapWindow.h"
#include "shell/win32/Win32ReviewWindow.h"
#include "shell/win32/resource.h"
#include "shell/window/MapNameCommand.h"
#include "shell/window/UndoExportCommand.h"
#include "shell/window/modVantrellMain.h"

namespace vantrell::win32 {

namespace {

constexpr const wchar_t* kReviewCommand = L"&Review staged tickets\u2026";
constexpr const wchar_t* kHistoryCommand = L"Export &history\u2026";
constexpr const wchar_t* kMapNameCommand = L"&Map to a QuickBooks name\u2026";
constexpr const wchar_t* kNameMapCommand = L"&Name map\u2026";

// Client area and controls of frmVantrell, in twips; the right edge of cmdPrint lines up with
// that of lstShow.
constexpr int kClientWidth = 4770;
constexpr int kClientHeight = 5115;
constexpr TwipsRect kControls[] = {
    {IDC_LSTSHOW, 120, 120, 4455, 4155},
    {IDC_CMDCLOSE, 120, 4440, 1095, 495},
    {IDC_CMDEXPORT, 1800, 4440, 1095, 495},
    {IDC_CMDPRINT, 3480, 4440, 1095, 495},
};

// The hidden owner passes a request to close (as Windows sends it to every top-level window of
// a program, at log-off or from Task Manager) on to the main window, so that the unload
// sequence runs; by itself it would destroy the main window with it.
LRESULT CALLBACK ownerProc(HWND owner, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        if (const auto main = reinterpret_cast<HWND>(GetWindowLongPtrW(owner, GWLP_USERDATA))) {
            PostMessageW(main, WM_CLOSE, 0, 0);
        }
        return 0;
    }
    return DefWindowProcW(owner, message, wParam, lParam);
}

const wchar_t* ownerClass() {
    static const ATOM registered = [] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &ownerProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"VantrellOwner";
        return RegisterClassW(&windowClass);
    }();
    return registered != 0 ? L"VantrellOwner" : L"STATIC";
}

int controlOf(WindowButton button) {
    switch (button) {
        case WindowButton::Close:
            return IDC_CMDCLOSE;
        case WindowButton::Export:
            return IDC_CMDEXPORT;
        case WindowButton::Print:
            return IDC_CMDPRINT;
    }
    return IDC_CMDCLOSE;
}

}  // namespace

Win32MainWindow::Win32MainWindow(modErrorLog& log, ProgramState& state, SettingsStore& settings,
                                 RequestProcessorFactory processorFactory,
                                 FileOpenDialog* fileDialog)
    : log_(log), state_(state) {
    // An owned window gets no task-bar button.
    owner_ = CreateWindowExW(0, ownerClass(), L"Vantrell", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    steps_ = std::make_unique<MainWindowSteps>(
        log, state,
        MainWindowServices{*this, settings, locateHost_,
                           fileDialog != nullptr ? *fileDialog : realFileDialog_, printer_,
                           std::move(processorFactory)},
        [this](int) {
            if (window_ != nullptr) {
                DestroyWindow(window_);
            }
        });
}

Win32MainWindow::~Win32MainWindow() {
    if (window_ != nullptr) {
        steps_->stop();  // closing here runs no more of the window's logic
        DestroyWindow(window_);
    }
    if (owner_ != nullptr) {
        DestroyWindow(owner_);
    }
}

bool Win32MainWindow::load() {
    window_ =
        CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_FRMVANTRELL), owner_,
                           &Win32MainWindow::dialogProc, reinterpret_cast<LPARAM>(this));
    if (window_ == nullptr) {
        throw Failure("The main window could not be created.");
    }
    SetWindowLongPtrW(owner_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window_));
    locateHost_.setOwner(window_);
    printer_.setWindow(window_);
    return steps_->load();
}

void Win32MainWindow::show() {
    shown_ = true;
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
    SetActiveWindow(window_);
    // Being shown is the first activation, whether or not the system reported it yet.
    if (steps_->activationDue(false)) {
        ActivationTracker::instance().becameActive(window_);
        PostMessageW(window_, kActivateMessage, 1, 0);
    }
}

int Win32MainWindow::runMessageLoop() {
    MSG message{};
    while (window_ != nullptr && GetMessageW(&message, nullptr, 0, 0) > 0) {
        // Tab order and access keys (Alt+C, Alt+E, Alt+P).
        if (!IsDialogMessageW(window_, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return endStatus() >= 0 ? endStatus() : kExitNormal;
}

void Win32MainWindow::close() {
    steps_->close();
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
}

void Win32MainWindow::activateIfDue(bool due) {
    if (!due) {
        return;
    }
    // The window is painted before the extraction runs.
    UpdateWindow(window_);
    ++activations_;
    steps_->activate();
}

INT_PTR CALLBACK Win32MainWindow::dialogProc(HWND dialog, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        reinterpret_cast<Win32MainWindow*>(lParam)->window_ = dialog;
    }
    auto* self = reinterpret_cast<Win32MainWindow*>(GetWindowLongPtrW(dialog, DWLP_USER));
    return self != nullptr ? self->onMessage(message, wParam, lParam) : FALSE;
}

INT_PTR Win32MainWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            onInitDialog();
            return TRUE;
        case WM_ACTIVATE:
            onActivate(wParam);
            return FALSE;
        case kActivateMessage:
            activateIfDue(wParam != 0);
            return TRUE;
        case WM_COMMAND:
            return onCommand(wParam);
        case WM_CLOSE:  // the frame's close box, Alt+F4
            close();
            return TRUE;
        case WM_ENDSESSION:  // Windows is ending: the session with the accounting system too
            if (wParam != FALSE) {
                close();
            }
            return TRUE;
        case WM_SETCURSOR:
            return onSetCursor();
        case WM_CONTEXTMENU:
            onContextMenu(wParam, lParam);
            return TRUE;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == IDM_REVIEW) {
                showReview();
                return TRUE;
            }
            if ((wParam & 0xFFF0) == IDM_HISTORY) {
                showHistory();
                return TRUE;
            }
            if ((wParam & 0xFFF0) == IDM_NAMEMAP) {
                showNameMap();
                return TRUE;
            }
            return FALSE;
        case WM_DESTROY:
            onDestroy();
            return TRUE;
        default:
            return FALSE;
    }
}

void Win32MainWindow::onInitDialog() {
    SetWindowTextW(window_, widen(frmVantrell::kCaption).c_str());
    layOutInTwips(window_, kClientWidth, kClientHeight, kControls,
                  static_cast<int>(std::size(kControls)), screenDotsPerInch());
    addLineTips(GetDlgItem(window_, IDC_LSTSHOW), screenDotsPerInch());
    // The window's system menu (Alt+Space, the title bar's icon) holds the commands that have
    // no button of their own.
    if (HMENU menu = GetSystemMenu(window_, FALSE)) {
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(menu, MF_STRING, IDM_REVIEW, kReviewCommand);
        AppendMenuW(menu, MF_STRING, IDM_HISTORY, kHistoryCommand);
        AppendMenuW(menu, MF_STRING, IDM_NAMEMAP, kNameMapCommand);
    }
}

void Win32MainWindow::onContextMenu(WPARAM wParam, LPARAM lParam) {
    const auto list = GetDlgItem(window_, IDC_LSTSHOW);
    if (reinterpret_cast<HWND>(wParam) != list) {
        return;
    }
    POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    // The line the menu is about: the selected one from the keyboard, the one under the mouse
    // (selected too, so that the clerk sees which) for a click.
    auto line = static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
    if (at.x == -1 && at.y == -1) {  // the menu key or Shift+F10: at the list's top left corner
        at = {0, 0};
        ClientToScreen(list, &at);
    } else {
        POINT inList = at;
        ScreenToClient(list, &inList);
        const auto found = static_cast<DWORD>(
            SendMessageW(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(inList.x, inList.y)));
        line = HIWORD(found) != 0 ? -1 : static_cast<int>(LOWORD(found));
        SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(line), 0);
    }
    const bool mapApplies = line >= 0 && mapNameApplies(*steps_, static_cast<std::size_t>(line));
    HMENU menu = CreatePopupMenu();
    if (menu == nullptr) {
        return;
    }
    AppendMenuW(menu, MF_STRING, IDM_REVIEW, kReviewCommand);
    AppendMenuW(menu, MF_STRING, IDM_HISTORY, kHistoryCommand);
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, mapApplies ? UINT{MF_STRING} : UINT{MF_STRING | MF_GRAYED}, IDM_MAPNAME,
                kMapNameCommand);
    AppendMenuW(menu, MF_STRING, IDM_NAMEMAP, kNameMapCommand);
    const auto chosen = static_cast<int>(
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, window_, nullptr));
    DestroyMenu(menu);
    if (chosen == IDM_REVIEW) {
        showReview();
    } else if (chosen == IDM_HISTORY) {
        showHistory();
    } else if (chosen == IDM_MAPNAME) {
        mapName(static_cast<std::size_t>(line));
    } else if (chosen == IDM_NAMEMAP) {
        showNameMap();
    }
}

void Win32MainWindow::mapName(std::size_t line) {
    runMapNameCommand(log_, state_, *steps_, *this, nameChoice_, line);
}

void Win32MainWindow::showNameMap() {
    win32::showNameMap(
        log_, state_,
        [this](NameMapList& list, std::size_t row) {
            return runChangeMapEntryCommand(log_, *steps_, *this, nameChoice_, list, row);
        },
        [this](NameMapList& list, std::size_t row) {
            return runRemoveMapEntryCommand(log_, *steps_, *question_, list, row);
        },
        window_, nameMapHook_, nameMapHookContext_);
}

void Win32MainWindow::showReview() {
    showStageReview(log_, state_, logic().link(), *saveDialog_, window_, reviewHook_,
                    reviewHookContext_);
}

void Win32MainWindow::showHistory() {
    showExportHistory(
        log_, state_, *saveDialog_,
        [this](ExportHistory& history) {
            return runUndoExportCommand(log_, history, *question_, *steps_, *this);
        },
        window_, historyHook_, historyHookContext_);
}

void Win32MainWindow::onActivate(WPARAM wParam) {
    if (LOWORD(wParam) == WA_INACTIVE || !shown_) {
        return;
    }
    // Due again after another of the program's windows; not after a message box, the
    // file-open dialog or another application.
    const HWND before = ActivationTracker::instance().becameActive(window_);
    if (steps_->activationDue(before != nullptr && before != window_)) {
        PostMessageW(window_, kActivateMessage, 1, 0);
    }
}

INT_PTR Win32MainWindow::onCommand(WPARAM wParam) {
    if (HIWORD(wParam) != BN_CLICKED) {
        return FALSE;
    }
    switch (LOWORD(wParam)) {
        case IDC_CMDCLOSE:
            close();
            return TRUE;
        case IDC_CMDEXPORT:
            steps_->exportClicked();
            return TRUE;
        case IDC_CMDPRINT:
            steps_->printClicked();
            return TRUE;
        case IDM_MAPNAME: {  // the command of the list's context menu, on the selected line
            const auto line =
                static_cast<int>(SendDlgItemMessageW(window_, IDC_LSTSHOW, LB_GETCURSEL, 0, 0));
            if (line >= 0) {
                mapName(static_cast<std::size_t>(line));
            }
            return TRUE;
        }
        default:
            return TRUE;  // Enter and Esc do nothing here
    }
}

INT_PTR Win32MainWindow::onSetCursor() {
    if (!hourglass_) {
        return FALSE;
    }
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    SetWindowLongPtrW(window_, DWLP_MSGRESULT, TRUE);
    return TRUE;
}

void Win32MainWindow::onDestroy() {
    ActivationTracker::instance().forget(window_);
    SetWindowLongPtrW(owner_, GWLP_USERDATA, 0);
    // The message loop ends with the window; no WM_QUIT, which would also end any modal loop
    // still to come.
    window_ = nullptr;
}

void Win32MainWindow::clearList() {
    SendDlgItemMessageW(window_, IDC_LSTSHOW, LB_RESETCONTENT, 0, 0);
}

void Win32MainWindow::addListLine(const std::string& line) {
    const LRESULT added = SendDlgItemMessageW(window_, IDC_LSTSHOW, LB_ADDSTRING, 0,
                                              reinterpret_cast<LPARAM>(widen(line).c_str()));
    if (added == LB_ERR || added == LB_ERRSPACE) {
        throw Failure("The list could not take another line.");
    }
}

void Win32MainWindow::setButtonEnabled(WindowButton button, bool enabled) {
    const HWND control = GetDlgItem(window_, controlOf(button));
    if (!enabled && GetFocus() == control) {
        // A disabled button cannot keep the focus.
        SendMessageW(window_, WM_NEXTDLGCTL, 0, FALSE);
    }
    EnableWindow(control, enabled ? TRUE : FALSE);
}

void Win32MainWindow::setMousePointer(MousePointer pointer) {
    hourglass_ = pointer == MousePointer::Hourglass;
    SetCursor(LoadCursorW(nullptr, hourglass_ ? IDC_WAIT : IDC_ARROW));
}

}  // namespace vantrell::win32
