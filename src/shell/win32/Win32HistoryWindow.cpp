#include "shell/win32/Win32HistoryWindow.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>

#include "diag/Guard.h"
#include "diag/Utf16.h"
#include "shell/win32/ListLineTips.h"
#include "shell/win32/ReportListView.h"
#include "shell/win32/resource.h"

namespace vantrell::win32 {

namespace {

// Client area and controls in twips.
constexpr int kClientWidth = 9600;
constexpr int kClientHeight = 8640;
constexpr TwipsRect kControls[] = {
    {IDC_HISTORYEXPORTSLABEL, 120, 120, 2000, 240},  {IDC_HISTORYEXPORTS, 120, 360, 9360, 2100},
    {IDC_HISTORYSETTLED, 120, 2520, 9360, 240},      {IDC_HISTORYRECEIPT, 120, 2820, 9360, 720},
    {IDC_HISTORYTICKETSLABEL, 120, 3600, 2000, 240}, {IDC_HISTORYTICKETS, 120, 3840, 9360, 2040},
    {IDC_HISTORYTOTALSLABEL, 120, 5940, 2000, 240},  {IDC_HISTORYTOTALS, 120, 6180, 9360, 900},
    {IDC_HISTORYOUTCOME, 120, 7140, 9360, 780},      {IDC_HISTORYUNDO, 120, 8040, 1695, 495},
    {IDC_HISTORYSAVE, 1935, 8040, 1695, 495},        {IDC_HISTORYCLOSE, 8385, 8040, 1095, 495},
};

constexpr int kExportWidths[] = {600, 1900, 1900, 2400, 700, 700, 1100, 2400};
constexpr int kTicketWidths[] = {2000, 1100, 1400, 700, 1400, 1000, 3000};
constexpr int kTotalsWidths[] = {1200, 2400, 900, 1800};

// The table the tickets' list shows while no export is selected.
const TicketTable& noTickets() {
    static const TicketTable empty(ExportReceipt::kColumns, {});
    return empty;
}

void setRowCount(HWND list, std::size_t rows) {
    SendMessageW(list, LVM_SETITEMCOUNT, rows, 0);
    InvalidateRect(list, nullptr, TRUE);
}

std::optional<std::size_t> selectedRow(HWND list) {
    const auto row = static_cast<int>(
        SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    return row < 0 ? std::nullopt : std::optional<std::size_t>(static_cast<std::size_t>(row));
}

}  // namespace

void Win32HistoryWindow::showModal(HWND owner) {
    runModal(owner, IDD_FRMHISTORY, "The export history window could not be created.");
}

bool Win32HistoryWindow::onButton(int id) {
    switch (id) {
        case IDC_HISTORYUNDO:
            undoClicked();
            return true;
        case IDC_HISTORYSAVE:
            if (history_.receipt() != nullptr) {
                history_.receipt()->saveAsCsv(log_, saveDialog_);
            }
            return true;
        default:
            return false;
    }
}

void Win32HistoryWindow::onInitDialog() {
    const int dpi = layOut(ExportHistory::kCaption, kClientWidth, kClientHeight, kControls,
                           static_cast<int>(std::size(kControls)));
    SetDlgItemTextW(window_, IDC_HISTORYUNDO, L"&Undo export\u2026");
    SetDlgItemTextW(window_, IDC_HISTORYSAVE, L"&Save as CSV\u2026");
    SetDlgItemTextW(window_, IDC_HISTORYSETTLED, widen(history_.settledLine()).c_str());

    std::vector<ReportColumn> exportColumns;
    for (std::size_t c = 0; c < ExportHistory::kColumnCount; ++c) {
        exportColumns.push_back({ExportHistory::kTitles[c], kExportWidths[c], history_.numeric(c)});
    }
    setUpReportList(GetDlgItem(window_, IDC_HISTORYEXPORTS), exportColumns, history_.rowCount(),
                    dpi);
    setUpTicketList(IDC_HISTORYTICKETS, noTickets(), kTicketWidths, 0, dpi);
    // A refusal's message is often wider than its column: the row's tip shows it whole.
    const HWND tickets = GetDlgItem(window_, IDC_HISTORYTICKETS);
    SendMessageW(tickets, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_INFOTIP, LVS_EX_INFOTIP);
    RECT area{};
    GetClientRect(tickets, &area);
    SendMessageW(reinterpret_cast<HWND>(SendMessageW(tickets, LVM_GETTOOLTIPS, 0, 0)),
                 TTM_SETMAXTIPWIDTH, 0, area.right);
    setUpTotalsList(IDC_HISTORYTOTALS, kTotalsWidths, 0, dpi);
    // An outcome line (the accounting system's message) is read whole as its tooltip.
    addLineTips(GetDlgItem(window_, IDC_HISTORYOUTCOME), dpi);

    const HWND exports = GetDlgItem(window_, IDC_HISTORYEXPORTS);
    if (history_.rowCount() > 0) {
        // The newest export, selected: its tickets show at once.
        LVITEMW item{};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(exports, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&item));
    }
    showSelected();
    SetFocus(exports);
}

INT_PTR Win32HistoryWindow::onNotify(const NMHDR& header, LPARAM lParam) {
    if (header.code == LVN_GETDISPINFOW) {
        auto& info = *reinterpret_cast<NMLVDISPINFOW*>(lParam);
        const auto row = static_cast<std::size_t>(info.item.iItem);
        const auto column = static_cast<std::size_t>(info.item.iSubItem);
        if (header.idFrom == IDC_HISTORYEXPORTS && row < history_.rowCount() &&
            column < ExportHistory::kColumnCount) {
            answerDisplayText(info, history_.text(row, column));
        } else if (header.idFrom == IDC_HISTORYTICKETS && history_.receipt() != nullptr) {
            const TicketTable& table = history_.receipt()->table();
            if (row < table.rowCount() && column < table.columnCount()) {
                answerDisplayText(info, table.text(row, column));
            }
        } else if (header.idFrom == IDC_HISTORYTOTALS && row < totals_.size() &&
                   column < kTotalsTitles.size()) {
            answerDisplayText(info, totals_[row][column]);
        }
        return TRUE;
    }
    if (header.idFrom == IDC_HISTORYTICKETS && header.code == LVN_GETINFOTIPW &&
        history_.receipt() != nullptr) {
        auto& tip = *reinterpret_cast<NMLVGETINFOTIPW*>(lParam);
        const TicketTable& table = history_.receipt()->table();
        const auto row = static_cast<std::size_t>(tip.iItem);
        if (row < table.rowCount() && tip.pszText != nullptr && tip.cchTextMax > 0) {
            const std::wstring message = widen(table.row(row).message);
            const auto count =
                std::min(message.size(), static_cast<std::size_t>(tip.cchTextMax - 1));
            message.copy(tip.pszText, count);
            tip.pszText[count] = L'\0';
        }
        return TRUE;
    }
    if (header.idFrom == IDC_HISTORYEXPORTS && header.code == LVN_ITEMCHANGED) {
        const std::optional<std::size_t> row = selectedRow(header.hwndFrom);
        if (row != history_.selected()) {
            guard(log_, "ExportHistory", [&] { history_.select(row); });
            showSelected();
        }
        return TRUE;
    }
    if (header.idFrom == IDC_HISTORYTICKETS && header.code == LVN_COLUMNCLICK &&
        history_.receipt() != nullptr) {
        const int column = reinterpret_cast<const NMLISTVIEW*>(lParam)->iSubItem;
        const bool ascending =
            history_.receipt()->table().toggleSortBy(static_cast<std::size_t>(column));
        showSortArrow(header.hwndFrom, column, ascending);
        return TRUE;
    }
    return FALSE;
}

void Win32HistoryWindow::showSelected() {
    const ExportReceipt* receipt = history_.receipt();
    totals_ = receipt != nullptr ? totalsRows(receipt->totals()) : std::vector<TotalsRow>{};
    const HWND tickets = GetDlgItem(window_, IDC_HISTORYTICKETS);
    showSortArrow(tickets, -1, true);
    setRowCount(tickets, receipt != nullptr ? receipt->table().rowCount() : 0);
    setRowCount(GetDlgItem(window_, IDC_HISTORYTOTALS), totals_.size());
    std::string lines;
    if (receipt != nullptr) {
        lines = joinLines(receipt->summaryLines());
    } else if (const auto row = history_.selected()) {
        lines = history_.text(*row, ExportHistory::kColumnCount - 1);
    }
    SetDlgItemTextW(window_, IDC_HISTORYRECEIPT, widen(lines).c_str());
    EnableWindow(GetDlgItem(window_, IDC_HISTORYUNDO),
                 receipt != nullptr && receipt->canUndo() ? TRUE : FALSE);
    EnableWindow(GetDlgItem(window_, IDC_HISTORYSAVE), receipt != nullptr ? TRUE : FALSE);
}

void Win32HistoryWindow::undoClicked() {
    const std::optional<std::vector<UndoLine>> lines = undo_(history_);
    if (!lines) {
        return;
    }
    // The history was read again: the same export stays selected.
    const HWND exports = GetDlgItem(window_, IDC_HISTORYEXPORTS);
    setRowCount(exports, history_.rowCount());
    if (const auto row = history_.selected()) {
        LVITEMW item{};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(exports, LVM_SETITEMSTATE, *row, reinterpret_cast<LPARAM>(&item));
    }
    SetDlgItemTextW(window_, IDC_HISTORYSETTLED, widen(history_.settledLine()).c_str());
    showSelected();
    const HWND outcome = GetDlgItem(window_, IDC_HISTORYOUTCOME);
    SendMessageW(outcome, LB_RESETCONTENT, 0, 0);
    for (const UndoLine& line : *lines) {
        SendMessageW(outcome, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(line.text).c_str()));
    }
    SetFocus(outcome);
}

void showExportHistory(modErrorLog& log, ProgramState& state, FileSaveDialog& saveDialog,
                       Win32HistoryWindow::UndoRunner undo, HWND owner,
                       void (*openedHook)(HWND, void*), void* hookContext) {
    const std::unique_ptr<ExportHistory> history = openExportHistory(log, state);
    if (!history) {
        return;
    }
    guard(log, "ExportHistory", [&] {
        Win32HistoryWindow window(*history, log, saveDialog, std::move(undo));
        window.setOpenedHook(openedHook, hookContext);
        window.showModal(owner);
    });
}

}  // namespace vantrell::win32
