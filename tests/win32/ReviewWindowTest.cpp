#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "GuiTestSupport.h"
#include "ReportWindowFixture.h"
#include "diag/Failure.h"
#include "diag/FileSystem.h"
#include "diag/Utf16.h"
#include "shell/ShellFakes.h"
#include "shell/win32/Win32MainWindow.h"
#include "shell/win32/resource.h"
#include "shell/window/CsvFile.h"
#include "standins/QbsimCommand.h"
#include "support/TestLog.h"

namespace vantrell::win32 {
namespace {

using testing::cellText;
using testing::columnTexts;

// What the test saw of the review while it was open.
struct ReviewSeen {
    HWND window = nullptr;
    std::wstring caption;
    std::wstring summary;
    std::vector<std::wstring> titles;
    std::vector<std::wstring> firstColumnBefore;
    std::vector<std::wstring> firstColumnSorted;
    std::vector<std::wstring> firstColumnReversed;
    std::vector<std::wstring> totalsFirstColumn;
    std::vector<int> tabOrder;
    int focused = 0;
};

// A timer procedure is stdcall on 32-bit Windows, which a lambda cannot be converted to.
void CALLBACK readReviewOnTimer(HWND window, UINT, UINT_PTR timer, DWORD) {
    KillTimer(window, timer);
    auto& seen = *reinterpret_cast<ReviewSeen*>(GetPropW(window, L"seen"));
    seen.caption = testing::windowText(window);
    seen.summary = testing::windowText(GetDlgItem(window, IDC_REVIEWSUMMARY));
    const HWND tickets = GetDlgItem(window, IDC_REVIEWTICKETS);
    seen.titles = testing::columnTitles(tickets, 4);
    seen.focused = GetDlgCtrlID(GetFocus());
    seen.tabOrder = testing::tabOrderAfter(window, tickets, 4);
    seen.firstColumnBefore = columnTexts(tickets, 0);
    testing::clickTitle(tickets, 0);
    seen.firstColumnSorted = columnTexts(tickets, 0);
    testing::clickTitle(tickets, 0);
    seen.firstColumnReversed = columnTexts(tickets, 0);
    seen.totalsFirstColumn = columnTexts(GetDlgItem(window, IDC_REVIEWTOTALS), 0);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_REVIEWSAVE, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, IDC_REVIEWSAVE)));
    // Esc, as the keyboard sends it to the list that has the focus.
    SetFocus(tickets);
    PostMessageW(tickets, WM_KEYDOWN, VK_ESCAPE, 1);
}

// Reads the open review, sorts it twice by employee, saves it, and presses Esc.
void driveReview(HWND review, void* context) {
    static_cast<ReviewSeen*>(context)->window = review;
    SetTimer(review, 1, 50, &readReviewOnTimer);
    SetPropW(review, L"seen", context);
}

// The main window over two employees' days, every name known to the accounting system.
struct ReviewOnScreen : testing::ReportWindowFixture {
    ReviewOnScreen() : ReportWindowFixture("Anna Zo\xC3\xAB") {}
};

TEST_F(ReviewOnScreen, OpensFromTheSystemMenuSortsByTitleSavesAndClosesOnEsc) {
    // The system menu ends with the command (then the export history's and the name map's), its
    // access key R.
    const HMENU menu = GetSystemMenu(window->handle(), FALSE);
    const int last = GetMenuItemCount(menu) - 3;
    wchar_t text[64] = {};
    GetMenuStringW(menu, static_cast<UINT>(last), text, 64, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(text), L"&Review staged tickets\u2026");
    EXPECT_EQ(GetMenuItemID(menu, last), static_cast<UINT>(IDM_REVIEW));

    ReviewSeen seen;
    window->setReviewOpenedHook(&driveReview, &seen);
    const std::string path = pathToUtf8(t.sandbox.file("Review.csv"));
    saveAnswers.answers.push_back(path);
    PostMessageW(window->handle(), WM_SYSCOMMAND, IDM_REVIEW, 0);
    ASSERT_TRUE(pump([&] { return seen.window != nullptr && !IsWindow(seen.window); }, 10000))
        << t.logText();

    EXPECT_EQ(seen.caption, L"Review staged tickets");
    EXPECT_NE(seen.summary.find(L"2 time tickets are staged, 15.50 hours in all."),
              std::wstring::npos)
        << narrow(seen.summary);
    EXPECT_EQ(seen.titles,
              (std::vector<std::wstring>{L"Employee", L"Date", L"Wage item", L"Hours"}));
    EXPECT_EQ(seen.focused, IDC_REVIEWTICKETS);
    EXPECT_EQ(seen.tabOrder, (std::vector<int>{IDC_REVIEWTOTALS, IDC_REVIEWSAVE, IDC_REVIEWCLOSE,
                                               IDC_REVIEWTICKETS}));
    // The stage's order: the extraction stages the names in order.
    EXPECT_EQ(seen.firstColumnBefore, (std::vector<std::wstring>{L"Anna Zo\u00EB", L"Worker One"}));
    EXPECT_EQ(seen.firstColumnSorted, (std::vector<std::wstring>{L"Anna Zo\u00EB", L"Worker One"}));
    EXPECT_EQ(seen.firstColumnReversed,
              (std::vector<std::wstring>{L"Worker One", L"Anna Zo\u00EB"}));
    EXPECT_EQ(seen.totalsFirstColumn,
              (std::vector<std::wstring>{L"Employee", L"Employee", L"Wage item", L"All tickets"}));
    // Saved in the order shown then: Worker One first.
    EXPECT_EQ(t.sandbox.read("Review.csv"),
              "\xEF\xBB\xBF"
              "Employee,Date,Wage item,Hours\r\n"
              "Worker One,2026-03-02,Hourly,8\r\n"
              "Anna Zo\xC3\xAB,2026-03-03,Hourly,7.5\r\n");
    EXPECT_TRUE(t.prompter.shown.empty());
    // Back in the main window, nothing is staged again.
    pump([] { return false; }, 300);
    EXPECT_EQ(window->activations(), 1);
}

TEST_F(ReviewOnScreen, TheListsContextMenuOpensItFromTheKeyboard) {
    ReviewSeen seen;
    window->setReviewOpenedHook(
        [](HWND review, void* context) {
            static_cast<ReviewSeen*>(context)->window = review;
            PostMessageW(review, WM_COMMAND, MAKEWPARAM(IDC_REVIEWCLOSE, BN_CLICKED), 0);
        },
        &seen);
    const HWND list = GetDlgItem(window->handle(), IDC_LSTSHOW);
    SetFocus(list);
    // Shift+F10 makes the list ask for its context menu at no point; R picks the command.
    PostMessageW(window->handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list),
                 MAKELPARAM(-1, -1));
    PostMessageW(list, WM_KEYDOWN, 'R', 1);
    PostMessageW(list, WM_CHAR, 'r', 1);
    EXPECT_TRUE(pump([&] { return seen.window != nullptr && !IsWindow(seen.window); }, 10000));
}

void CALLBACK readTicketsAndClose(HWND review, UINT, UINT_PTR timer, DWORD) {
    KillTimer(review, timer);
    auto& seen = *reinterpret_cast<ReviewSeen*>(GetPropW(review, L"seen"));
    seen.firstColumnSorted = columnTexts(GetDlgItem(review, IDC_REVIEWTICKETS), 0);
    PostMessageW(review, WM_COMMAND, MAKEWPARAM(IDC_REVIEWCLOSE, BN_CLICKED), 0);
}

// Shift+F10 on the tickets, then D: "Sort by &Date"; then the tickets are read and the review
// closed.
void sortByDateFromTheKeyboard(HWND review, void* context) {
    static_cast<ReviewSeen*>(context)->window = review;
    SetPropW(review, L"seen", context);
    const HWND tickets = GetDlgItem(review, IDC_REVIEWTICKETS);
    PostMessageW(review, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(tickets), MAKELPARAM(-1, -1));
    PostMessageW(tickets, WM_KEYDOWN, 'D', 1);
    PostMessageW(tickets, WM_CHAR, 'd', 1);
    SetTimer(review, 2, 500, &readTicketsAndClose);
}

TEST_F(ReviewOnScreen, TheTicketsContextMenuSortsFromTheKeyboard) {
    ReviewSeen seen;
    window->setReviewOpenedHook(&sortByDateFromTheKeyboard, &seen);
    window->showReview();
    // Worker One's day is 2026-03-02, Anna's 2026-03-03.
    EXPECT_EQ(seen.firstColumnSorted, (std::vector<std::wstring>{L"Worker One", L"Anna Zo\u00EB"}));
}

TEST(CsvFileOnWindows, AFileThatAnotherProgramHoldsOpenFailsNamingItsPath) {
    testing::Sandbox sandbox;
    const std::filesystem::path file = sandbox.file("Staged.csv");
    sandbox.write("Staged.csv", "kept");
    // Open without sharing, as a spreadsheet holds the file it shows.
    const HANDLE held = CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const std::string path = pathToUtf8(file);
    try {
        writeCsvFile(path, {{"A", CsvKind::Text}}, 0, [](std::size_t) { return CsvRow{}; });
        ADD_FAILURE() << "no failure";
    } catch (const Failure& failure) {
        EXPECT_NE(std::string(failure.what()).find(path), std::string::npos) << failure.what();
    }
    CloseHandle(held);
    EXPECT_EQ(sandbox.read("Staged.csv"), "kept");
}

// The tooltip window the main window's list shows its lines in, while it is searched for.
struct TipSearch {
    HWND owner;
    HWND found = nullptr;
};

// An enumeration procedure is stdcall on 32-bit Windows, which a lambda cannot be converted to.
BOOL CALLBACK findListTip(HWND window, LPARAM context) {
    auto& search = *reinterpret_cast<TipSearch*>(context);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (std::wstring(name) == TOOLTIPS_CLASSW && GetWindow(window, GW_OWNER) == search.owner) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

HWND listTip(HWND mainWindow) {
    TipSearch search{mainWindow};
    EnumThreadWindows(GetCurrentThreadId(), &findListTip, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

TEST_F(ReviewOnScreen, EachLineOfTheListIsShownWholeAsItsTooltip) {
    const HWND list = GetDlgItem(window->handle(), IDC_LSTSHOW);
    const std::wstring line =
        L"  QuickBooks has a payroll item of this name that is not a wage "
        L"item, and the line goes on well past the list's edge.";
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    const auto last = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0)) - 1;
    SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(last), 0);
    RECT rect{};
    SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(last), reinterpret_cast<LPARAM>(&rect));

    const HWND tip = listTip(window->handle());
    ASSERT_NE(tip, nullptr);
    // The mouse rests on the line; the tooltip asks the list for its text.
    SendMessageW(list, WM_MOUSEMOVE, 0, MAKELPARAM(rect.left + 5, (rect.top + rect.bottom) / 2));
    NMTTDISPINFOW info{};
    info.hdr.hwndFrom = tip;
    info.hdr.code = TTN_GETDISPINFOW;
    SendMessageW(list, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    ASSERT_NE(info.lpszText, nullptr);
    EXPECT_EQ(std::wstring(info.lpszText), line);
}

}  // namespace
}  // namespace vantrell::win32
