#pragma once

#include <windows.h>

#include <commctrl.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace vantrell::win32 {

// A column of a list-view in report mode: its title, its width in twips, numbers aligned right.
struct ReportColumn {
    std::string title;
    int widthTwips = 1440;
    bool numeric = false;
};

// Sets up `list`, a list-view in report mode with LVS_OWNERDATA, for `rowCount` rows in
// `columns` at `dotsPerInch`: whole rows selected, the first row focused. The list then asks
// for each cell's text as it draws it (LVN_GETDISPINFOW), so that it opens at once whatever
// the number of rows.
void setUpReportList(HWND list, const std::vector<ReportColumn>& columns, std::size_t rowCount,
                     int dotsPerInch);

// Answers the list's LVN_GETDISPINFOW with `text`, cut to the room the list gave.
void answerDisplayText(NMLVDISPINFOW& info, const std::string& text);

// Shows the sort arrow on `column` of the list's header (and on no other), pointing up when
// `ascending`, and redraws the rows.
void showSortArrow(HWND list, int column, bool ascending);

// The context menu of a sortable list, for the keyboard: `commands` (one per column, "Sort by
// &Employee") at the screen point (x, y), or at the list's top left corner for -1, -1 (the
// menu key, Shift+F10), owned by `window`. Returns the column chosen, or nothing.
std::optional<std::size_t> chooseSortColumn(HWND window, HWND list, int x, int y,
                                            const std::vector<std::string>& commands);

}  // namespace vantrell::win32
