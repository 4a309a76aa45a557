#include "shell/win32/ReportDialog.h"

#include <commctrl.h>
#include <windowsx.h>

#include "diag/Failure.h"
#include "diag/Utf16.h"
#include "shell/win32/ReportListView.h"
#include "shell/win32/Twips.h"
#include "shell/window/TicketTotals.h"

namespace vantrell::win32 {

void ReportDialog::runModal(HWND owner, int resource, const char* failure) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    if (DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource), owner,
                        &ReportDialog::dialogProc, reinterpret_cast<LPARAM>(this)) == -1) {
        throw Failure(failure);
    }
}

INT_PTR CALLBACK ReportDialog::dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        auto* self = reinterpret_cast<ReportDialog*>(lParam);
        self->window_ = window;
        self->onInitDialog();
        if (self->openedHook_ != nullptr) {
            self->openedHook_(window, self->hookContext_);
        }
        return FALSE;  // onInitDialog set the focus
    }
    auto* self = reinterpret_cast<ReportDialog*>(GetWindowLongPtrW(window, DWLP_USER));
    return self != nullptr ? self->route(message, wParam, lParam) : FALSE;
}

INT_PTR ReportDialog::route(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NOTIFY:
            return onNotify(*reinterpret_cast<const NMHDR*>(lParam), lParam);
        case WM_CONTEXTMENU:
            if (sortableList() != 0 &&
                reinterpret_cast<HWND>(wParam) == GetDlgItem(window_, sortableList())) {
                showSortMenu(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
                return TRUE;
            }
            break;
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            if (id == IDCANCEL || id == closeButton()) {  // IDCANCEL: Esc and the close box
                onClosing();
                EndDialog(window_, IDCANCEL);
                return TRUE;
            }
            if (HIWORD(wParam) == BN_CLICKED && onButton(id)) {
                return TRUE;
            }
            break;
        }
        default:
            break;
    }
    return onMessage(message, wParam, lParam);
}

int ReportDialog::layOut(const std::string& caption, int width, int height,
                         const TwipsRect* controls, int count) {
    const int dpi = screenDotsPerInch();
    SetWindowTextW(window_, widen(caption).c_str());
    layOutInTwips(window_, width, height, controls, count, dpi);
    return dpi;
}

void ReportDialog::setUpTicketList(int control, const TicketTable& table, const int* widthsTwips,
                                   std::size_t rowCount, int dotsPerInch) {
    std::vector<ReportColumn> columns;
    for (std::size_t c = 0; c < table.columnCount(); ++c) {
        columns.push_back(
            {table.title(c), widthsTwips[static_cast<int>(table.column(c))], table.numeric(c)});
    }
    setUpReportList(GetDlgItem(window_, control), columns, rowCount, dotsPerInch);
}

void ReportDialog::setUpTotalsList(int control, const int* widthsTwips, std::size_t rowCount,
                                   int dotsPerInch) {
    std::vector<ReportColumn> columns;
    for (std::size_t c = 0; c < kTotalsTitles.size(); ++c) {
        columns.push_back({kTotalsTitles[c], widthsTwips[c], c >= 2});
    }
    setUpReportList(GetDlgItem(window_, control), columns, rowCount, dotsPerInch);
}

std::string joinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += (text.empty() ? "" : "\r\n") + line;
    }
    return text;
}

}  // namespace vantrell::win32
