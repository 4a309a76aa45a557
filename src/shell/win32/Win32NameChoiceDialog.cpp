#include "shell/win32/Win32NameChoiceDialog.h"

#include <commctrl.h>

#include <iterator>

#include "diag/Utf16.h"
#include "shell/win32/ListLineTips.h"
#include "shell/win32/resource.h"
#include "shell/window/NameChoice.h"

namespace vantrell::win32 {

namespace {

// Client area and controls in twips; OK and Cancel line up with the list's right edge.
constexpr int kClientWidth = 5160;
constexpr int kClientHeight = 5400;
constexpr TwipsRect kControls[] = {
    {IDC_CHOICEPROMPT, 120, 120, 4920, 480}, {IDC_CHOICEFILTERLABEL, 120, 660, 2000, 240},
    {IDC_CHOICEFILTER, 120, 900, 4920, 300}, {IDC_CHOICELISTLABEL, 120, 1320, 2000, 240},
    {IDC_CHOICELIST, 120, 1560, 4920, 3120}, {IDOK, 2745, 4785, 1095, 495},
    {IDCANCEL, 3945, 4785, 1095, 495},
};

// The filter box passes the keys that move in a list on to the names' list, so that the clerk
// can type a few letters and pick a name without leaving the box.
LRESULT CALLBACK filterProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                            DWORD_PTR list) {
    if (message == WM_KEYDOWN &&
        (wParam == VK_UP || wParam == VK_DOWN || wParam == VK_PRIOR || wParam == VK_NEXT)) {
        SendMessageW(reinterpret_cast<HWND>(list), message, wParam, lParam);
        return 0;
    }
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(edit, &filterProc, id);
    }
    return DefSubclassProc(edit, message, wParam, lParam);
}

std::wstring controlText(HWND control) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace

void Win32NameChoiceDialog::showModal(NameChoice& choice) {
    choice_ = &choice;
    // Over the main window, or over the name map when an entry is changed.
    runModal(GetActiveWindow(), IDD_FRMNAMECHOICE, "The name-choice dialog could not be created.");
}

void Win32NameChoiceDialog::onClosing() {
    choice_->cancelClicked();
}

bool Win32NameChoiceDialog::onButton(int id) {
    if (id != IDOK) {  // the button, and Enter anywhere in the dialog
        return false;
    }
    okClicked();
    return true;
}

void Win32NameChoiceDialog::onInitDialog() {
    const int dpi = layOut(NameChoice::kCaption, kClientWidth, kClientHeight, kControls,
                           static_cast<int>(std::size(kControls)));
    SetDlgItemTextW(window_, IDC_CHOICEPROMPT, widen(choice_->prompt()).c_str());
    const HWND list = GetDlgItem(window_, IDC_CHOICELIST);
    // A long name (with its mark) is read whole as its tooltip.
    addLineTips(list, dpi);
    const HWND filter = GetDlgItem(window_, IDC_CHOICEFILTER);
    SetWindowSubclass(filter, &filterProc, 1, reinterpret_cast<DWORD_PTR>(list));
    showChoices();
    SetFocus(filter);
}

INT_PTR Win32NameChoiceDialog::onMessage(UINT message, WPARAM wParam, LPARAM) {
    if (message != WM_COMMAND) {
        return FALSE;
    }
    const HWND list = GetDlgItem(window_, IDC_CHOICELIST);
    switch (LOWORD(wParam)) {
        case IDC_CHOICEFILTER:
            if (HIWORD(wParam) == EN_CHANGE) {
                choice_->setFilter(narrow(controlText(GetDlgItem(window_, IDC_CHOICEFILTER))));
                showChoices();
            }
            return TRUE;
        case IDC_CHOICELIST:
            if (HIWORD(wParam) == LBN_SELCHANGE) {
                const auto index = static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
                choice_->select(index < 0 ? std::nullopt : std::optional<std::size_t>(index));
                EnableWindow(GetDlgItem(window_, IDOK), choice_->okEnabled() ? TRUE : FALSE);
            } else if (HIWORD(wParam) == LBN_DBLCLK) {
                okClicked();
            }
            return TRUE;
        default:
            return FALSE;
    }
}

void Win32NameChoiceDialog::showChoices() {
    const HWND list = GetDlgItem(window_, IDC_CHOICELIST);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& text : choice_->choiceTexts()) {
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(text).c_str()));
    }
    const std::optional<std::size_t> selected = choice_->selectedChoice();
    SendMessageW(list, LB_SETCURSEL, selected ? static_cast<WPARAM>(*selected) : WPARAM(-1), 0);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    EnableWindow(GetDlgItem(window_, IDOK), choice_->okEnabled() ? TRUE : FALSE);
}

void Win32NameChoiceDialog::okClicked() {
    // Enter reaches here even while OK is disabled: with no name chosen it does nothing.
    if (!choice_->okEnabled()) {
        return;
    }
    choice_->okClicked();
    if (choice_->closed()) {
        EndDialog(window_, IDOK);
    }
}

}  // namespace vantrell::win32
