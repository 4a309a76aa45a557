#include "shell/win32/Win32ReviewWindow.h"

#include <commctrl.h>

#include <iterator>

#include "diag/Guard.h"
#include "diag/Utf16.h"
#include "shell/win32/ReportListView.h"
#include "shell/win32/resource.h"

namespace vantrell::win32 {

namespace {

// Client area and controls in twips.
constexpr int kClientWidth = 7800;
constexpr int kClientHeight = 6300;
constexpr TwipsRect kControls[] = {
    {IDC_REVIEWSUMMARY, 120, 120, 7560, 480},  {IDC_REVIEWTICKETSLABEL, 120, 660, 2000, 240},
    {IDC_REVIEWTICKETS, 120, 900, 7560, 3000}, {IDC_REVIEWTOTALSLABEL, 120, 4020, 2000, 240},
    {IDC_REVIEWTOTALS, 120, 4260, 7560, 1320}, {IDC_REVIEWSAVE, 120, 5685, 1695, 495},
    {IDC_REVIEWCLOSE, 6585, 5685, 1095, 495},
};

constexpr int kTicketWidths[] = {2400, 1200, 1800, 900, 1200, 900, 3000};
constexpr int kTotalsWidths[] = {1200, 2400, 900, 1800};

}  // namespace

void Win32ReviewWindow::showModal(HWND owner) {
    totals_ = totalsRows(review_.totals());
    runModal(owner, IDD_FRMREVIEW, "The review window could not be created.");
}

bool Win32ReviewWindow::onButton(int id) {
    if (id != IDC_REVIEWSAVE) {
        return false;
    }
    review_.saveAsCsv(log_, saveDialog_);
    return true;
}

void Win32ReviewWindow::onInitDialog() {
    const int dpi = layOut(StageReview::kCaption, kClientWidth, kClientHeight, kControls,
                           static_cast<int>(std::size(kControls)));
    SetDlgItemTextW(window_, IDC_REVIEWSAVE, L"&Save as CSV\u2026");
    SetDlgItemTextW(window_, IDC_REVIEWSUMMARY, widen(joinLines(review_.summaryLines())).c_str());
    const TicketTable& table = review_.table();
    setUpTicketList(IDC_REVIEWTICKETS, table, kTicketWidths, table.rowCount(), dpi);
    setUpTotalsList(IDC_REVIEWTOTALS, kTotalsWidths, totals_.size(), dpi);
    SetFocus(GetDlgItem(window_, IDC_REVIEWTICKETS));
}

INT_PTR Win32ReviewWindow::onNotify(const NMHDR& header, LPARAM lParam) {
    if (header.idFrom == IDC_REVIEWTICKETS && header.code == LVN_GETDISPINFOW) {
        auto& info = *reinterpret_cast<NMLVDISPINFOW*>(lParam);
        const TicketTable& table = review_.table();
        const auto row = static_cast<std::size_t>(info.item.iItem);
        const auto column = static_cast<std::size_t>(info.item.iSubItem);
        if (row < table.rowCount() && column < table.columnCount()) {
            answerDisplayText(info, table.text(row, column));
        }
        return TRUE;
    }
    if (header.idFrom == IDC_REVIEWTOTALS && header.code == LVN_GETDISPINFOW) {
        auto& info = *reinterpret_cast<NMLVDISPINFOW*>(lParam);
        const auto row = static_cast<std::size_t>(info.item.iItem);
        const auto column = static_cast<std::size_t>(info.item.iSubItem);
        if (row < totals_.size() && column < kTotalsTitles.size()) {
            answerDisplayText(info, totals_[row][column]);
        }
        return TRUE;
    }
    if (header.idFrom == IDC_REVIEWTICKETS && header.code == LVN_COLUMNCLICK) {
        sortBy(reinterpret_cast<const NMLISTVIEW*>(lParam)->iSubItem);
        return TRUE;
    }
    return FALSE;
}

void Win32ReviewWindow::sortBy(int column) {
    const bool ascending = review_.table().toggleSortBy(static_cast<std::size_t>(column));
    showSortArrow(GetDlgItem(window_, IDC_REVIEWTICKETS), column, ascending);
}

void Win32ReviewWindow::showSortMenu(int x, int y) {
    const TicketTable& table = review_.table();
    std::vector<std::string> commands;
    for (std::size_t c = 0; c < table.columnCount(); ++c) {
        commands.push_back(table.sortCommand(c));
    }
    if (const auto column =
            chooseSortColumn(window_, GetDlgItem(window_, IDC_REVIEWTICKETS), x, y, commands)) {
        sortBy(static_cast<int>(*column));
    }
}

void showStageReview(modErrorLog& log, ProgramState& state, const QuickBooksLink& link,
                     FileSaveDialog& saveDialog, HWND owner, void (*openedHook)(HWND, void*),
                     void* hookContext) {
    const std::unique_ptr<StageReview> review = openStageReview(log, state, link);
    if (!review) {
        return;
    }
    guard(log, "ReviewStage", [&] {
        Win32ReviewWindow window(*review, log, saveDialog);
        window.setOpenedHook(openedHook, hookContext);
        window.showModal(owner);
    });
}

}  // namespace vantrell::win32
