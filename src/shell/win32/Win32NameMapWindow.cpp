#include "shell/win32/Win32NameMapWindow.h"

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
constexpr int kClientHeight = 5400;
constexpr TwipsRect kControls[] = {
    {IDC_NAMEMAPLABEL, 120, 120, 2000, 240},    {IDC_NAMEMAPENTRIES, 120, 360, 7560, 3840},
    {IDC_NAMEMAPNOTE, 120, 4260, 7560, 360},    {IDC_NAMEMAPCHANGE, 120, 4785, 1500, 495},
    {IDC_NAMEMAPREMOVE, 1740, 4785, 1500, 495}, {IDC_NAMEMAPCLOSE, 6585, 4785, 1095, 495},
};

constexpr int kEntryWidths[NameMapList::kColumnCount] = {1000, 2200, 2200, 2100};

}  // namespace

void Win32NameMapWindow::showModal(HWND owner) {
    order_.reset(list_.rowCount());
    runModal(owner, IDD_FRMNAMEMAP, "The name map window could not be created.");
}

bool Win32NameMapWindow::onButton(int id) {
    switch (id) {
        case IDC_NAMEMAPCHANGE:
            runOnSelected(change_);
            return true;
        case IDC_NAMEMAPREMOVE:
            runOnSelected(remove_);
            return true;
        default:
            return false;
    }
}

void Win32NameMapWindow::onInitDialog() {
    const int dpi = layOut(NameMapList::kCaption, kClientWidth, kClientHeight, kControls,
                           static_cast<int>(std::size(kControls)));
    SetDlgItemTextW(window_, IDC_NAMEMAPCHANGE, L"C&hange\u2026");
    SetDlgItemTextW(window_, IDC_NAMEMAPREMOVE, L"&Remove\u2026");
    std::vector<ReportColumn> columns;
    for (std::size_t c = 0; c < NameMapList::kColumnCount; ++c) {
        columns.push_back({NameMapList::columnTitle(c), kEntryWidths[c], false});
    }
    const HWND entries = GetDlgItem(window_, IDC_NAMEMAPENTRIES);
    setUpReportList(entries, columns, order_.rowCount(), dpi);
    showRows(order_.rowCount() > 0 ? std::optional<std::size_t>(order_.row(0)) : std::nullopt);
    SetFocus(entries);
}

INT_PTR Win32NameMapWindow::onNotify(const NMHDR& header, LPARAM lParam) {
    if (header.idFrom != IDC_NAMEMAPENTRIES) {
        return FALSE;
    }
    if (header.code == LVN_GETDISPINFOW) {
        auto& info = *reinterpret_cast<NMLVDISPINFOW*>(lParam);
        const auto shown = static_cast<std::size_t>(info.item.iItem);
        if (shown < order_.rowCount()) {
            answerDisplayText(
                info, list_.text(order_.row(shown), static_cast<std::size_t>(info.item.iSubItem)));
        }
        return TRUE;
    }
    if (header.code == LVN_ITEMCHANGED) {
        enableButtons();
        return TRUE;
    }
    if (header.code == LVN_COLUMNCLICK) {
        sortBy(reinterpret_cast<const NMLISTVIEW*>(lParam)->iSubItem);
        return TRUE;
    }
    if (header.code == NM_DBLCLK) {  // a double click changes the entry, as Change… does
        if (IsWindowEnabled(GetDlgItem(window_, IDC_NAMEMAPCHANGE))) {
            runOnSelected(change_);
        }
        return TRUE;
    }
    return FALSE;
}

std::optional<std::size_t> Win32NameMapWindow::selectedRow() const {
    const auto shown = static_cast<int>(SendDlgItemMessageW(
        window_, IDC_NAMEMAPENTRIES, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    if (shown < 0 || static_cast<std::size_t>(shown) >= order_.rowCount()) {
        return std::nullopt;
    }
    return order_.row(static_cast<std::size_t>(shown));
}

void Win32NameMapWindow::showRows(std::optional<std::size_t> row) {
    const HWND entries = GetDlgItem(window_, IDC_NAMEMAPENTRIES);
    SendMessageW(entries, LVM_SETITEMCOUNT, order_.rowCount(), 0);
    LVITEMW none{};
    none.stateMask = LVIS_SELECTED;
    SendMessageW(entries, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(&none));
    if (const auto shown = row ? order_.shownAt(*row) : std::nullopt) {
        LVITEMW item{};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(entries, LVM_SETITEMSTATE, *shown, reinterpret_cast<LPARAM>(&item));
        SendMessageW(entries, LVM_ENSUREVISIBLE, *shown, FALSE);
    }
    InvalidateRect(entries, nullptr, TRUE);
    SetDlgItemTextW(window_, IDC_NAMEMAPNOTE, widen(list_.summaryLine()).c_str());
    enableButtons();
}

void Win32NameMapWindow::enableButtons() {
    const std::optional<std::size_t> row = selectedRow();
    const HWND change = GetDlgItem(window_, IDC_NAMEMAPCHANGE);
    const HWND remove = GetDlgItem(window_, IDC_NAMEMAPREMOVE);
    const bool canChange = row && list_.canChange(*row);
    const bool canRemove = row.has_value();
    // A button about to be disabled gives the focus to the entries first.
    if ((!canChange && GetFocus() == change) || (!canRemove && GetFocus() == remove)) {
        SetFocus(GetDlgItem(window_, IDC_NAMEMAPENTRIES));
    }
    EnableWindow(change, canChange ? TRUE : FALSE);
    EnableWindow(remove, canRemove ? TRUE : FALSE);
}

void Win32NameMapWindow::runOnSelected(const EntryCommand& command) {
    const std::optional<std::size_t> row = selectedRow();
    if (!row) {
        return;
    }
    const std::size_t shown = *order_.shownAt(*row);
    if (!command(list_, *row)) {
        return;
    }
    // The list was read again: the selection stays where it was, on the row now there.
    order_.reset(list_.rowCount());
    const std::size_t count = order_.rowCount();
    showRows(count == 0
                 ? std::nullopt
                 : std::optional<std::size_t>(order_.row(shown < count ? shown : count - 1)));
}

void Win32NameMapWindow::sortBy(int column) {
    const std::optional<std::size_t> row = selectedRow();
    const bool ascending = order_.toggleSortBy(static_cast<std::size_t>(column));
    showSortArrow(GetDlgItem(window_, IDC_NAMEMAPENTRIES), column, ascending);
    showRows(row);
}

void Win32NameMapWindow::showSortMenu(int x, int y) {
    std::vector<std::string> commands;
    for (std::size_t c = 0; c < NameMapList::kColumnCount; ++c) {
        commands.push_back(RowOrder::sortCommand(NameMapList::columnTitle(c)));
    }
    if (const auto column =
            chooseSortColumn(window_, GetDlgItem(window_, IDC_NAMEMAPENTRIES), x, y, commands)) {
        sortBy(static_cast<int>(*column));
    }
}

void showNameMap(modErrorLog& log, ProgramState& state, Win32NameMapWindow::EntryCommand change,
                 Win32NameMapWindow::EntryCommand remove, HWND owner,
                 void (*openedHook)(HWND, void*), void* hookContext) {
    const std::unique_ptr<NameMapList> list = openNameMapList(log, state);
    if (!list) {
        return;
    }
    guard(log, "NameMap", [&] {
        Win32NameMapWindow window(*list, std::move(change), std::move(remove));
        window.setOpenedHook(openedHook, hookContext);
        window.showModal(owner);
    });
}

}  // namespace vantrell::win32
