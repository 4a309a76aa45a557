#include "shell/win32/ReportListView.h"

#include "diag/Utf16.h"
#include "shell/win32/Twips.h"

namespace vantrell::win32 {

void setUpReportList(HWND list, const std::vector<ReportColumn>& columns, std::size_t rowCount,
                     int dotsPerInch) {
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP,
                 LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        std::wstring title = widen(columns[i].title);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
        column.fmt = columns[i].numeric ? LVCFMT_RIGHT : LVCFMT_LEFT;
        column.cx = twipsToPixels(columns[i].widthTwips, dotsPerInch);
        column.pszText = title.data();
        column.iSubItem = static_cast<int>(i);
        SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
    SendMessageW(list, LVM_SETITEMCOUNT, rowCount, LVSICF_NOINVALIDATEALL);
    if (rowCount > 0) {
        LVITEMW item{};
        item.stateMask = LVIS_FOCUSED;
        item.state = LVIS_FOCUSED;
        SendMessageW(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&item));
    }
}

void answerDisplayText(NMLVDISPINFOW& info, const std::string& text) {
    if ((info.item.mask & LVIF_TEXT) == 0 || info.item.pszText == nullptr ||
        info.item.cchTextMax <= 0) {
        return;
    }
    const std::wstring wide = widen(text);
    const auto room = static_cast<std::size_t>(info.item.cchTextMax - 1);
    const std::size_t count = wide.size() < room ? wide.size() : room;
    wide.copy(info.item.pszText, count);
    info.item.pszText[count] = L'\0';
}

void showSortArrow(HWND list, int column, bool ascending) {
    const auto header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    const auto count = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
        if (i == column) {
            item.fmt |= ascending ? HDF_SORTUP : HDF_SORTDOWN;
        }
        SendMessageW(header, HDM_SETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
    InvalidateRect(list, nullptr, TRUE);
}

std::optional<std::size_t> chooseSortColumn(HWND window, HWND list, int x, int y,
                                            const std::vector<std::string>& commands) {
    POINT at{x, y};
    if (x == -1 && y == -1) {
        at = {0, 0};
        ClientToScreen(list, &at);
    }
    HMENU menu = CreatePopupMenu();
    if (menu == nullptr) {
        return std::nullopt;
    }
    // Command 0 is "none chosen": column c is command c + 1.
    for (std::size_t c = 0; c < commands.size(); ++c) {
        AppendMenuW(menu, MF_STRING, c + 1, widen(commands[c]).c_str());
    }
    const auto chosen = static_cast<std::size_t>(
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, window, nullptr));
    DestroyMenu(menu);
    if (chosen == 0 || chosen > commands.size()) {
        return std::nullopt;
    }
    return chosen - 1;
}

}  // namespace vantrell::win32
