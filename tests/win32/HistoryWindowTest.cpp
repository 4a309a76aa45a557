#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "GuiTestSupport.h"
#include "ReportWindowFixture.h"
#include "diag/FileSystem.h"
#include "diag/Utf16.h"
#include "interfacedb/Connection.h"
#include "interfacedb/ConnectionString.h"
#include "shell/win32/Win32MainWindow.h"
#include "shell/win32/resource.h"

namespace vantrell::win32 {
namespace {

using testing::cellText;
using testing::columnTexts;
using Texts = std::vector<std::wstring>;

// What the test saw of the history while it was open.
struct HistorySeen {
    HWND window = nullptr;
    std::wstring caption;
    Texts exportRow;
    Texts states;
    Texts statesAfterUndo;
    Texts totalsLast;
    Texts outcome;
    std::wstring undoneCount;
    bool undoEnabledAfter = true;
    std::vector<int> tabOrder;
    int focused = 0;
};

// A timer procedure is stdcall on 32-bit Windows, which a lambda cannot be converted to.
void CALLBACK driveHistoryOnTimer(HWND window, UINT, UINT_PTR timer, DWORD) {
    KillTimer(window, timer);
    auto& seen = *reinterpret_cast<HistorySeen*>(GetPropW(window, L"seen"));
    seen.caption = testing::windowText(window);
    seen.focused = GetDlgCtrlID(GetFocus());
    const HWND exports = GetDlgItem(window, IDC_HISTORYEXPORTS);
    seen.tabOrder = testing::tabOrderAfter(window, exports, 7);
    for (int c = 0; c < 7; ++c) {
        seen.exportRow.push_back(cellText(exports, 0, c));
    }
    const HWND tickets = GetDlgItem(window, IDC_HISTORYTICKETS);
    seen.states = columnTexts(tickets, 5);
    const HWND totals = GetDlgItem(window, IDC_HISTORYTOTALS);
    const auto totalRows = static_cast<int>(SendMessageW(totals, LVM_GETITEMCOUNT, 0, 0));
    for (int c = 0; c < 4 && totalRows > 0; ++c) {
        seen.totalsLast.push_back(cellText(totals, totalRows - 1, c));
    }
    testing::sendClick(window, IDC_HISTORYSAVE);
    testing::sendClick(window, IDC_HISTORYUNDO);
    seen.outcome = testing::listBoxLines(GetDlgItem(window, IDC_HISTORYOUTCOME));
    seen.statesAfterUndo = columnTexts(tickets, 5);
    seen.undoneCount = cellText(exports, 0, 5);
    seen.undoEnabledAfter = IsWindowEnabled(GetDlgItem(window, IDC_HISTORYUNDO)) != FALSE;
    // Esc, as the keyboard sends it to the list that has the focus.
    SetFocus(exports);
    PostMessageW(exports, WM_KEYDOWN, VK_ESCAPE, 1);
}

// Reads the open history, saves the receipt, undoes the export, reads it again, presses Esc.
void driveHistory(HWND history, void* context) {
    static_cast<HistorySeen*>(context)->window = history;
    SetPropW(history, L"seen", context);
    SetTimer(history, 1, 50, &driveHistoryOnTimer);
}

// The main window over two employees' days, ready to post them to the stand-in accounting
// system; the undo's question is answered Yes.
struct HistoryOnScreen : testing::ReportWindowFixture {
    testing::SayYes question;

    HistoryOnScreen() : ReportWindowFixture("=Anna, Zo\xC3\xAB") {}

  protected:
    void prepare(Win32MainWindow& main) override { main.setYesNoQuestion(question); }
};

TEST_F(HistoryOnScreen, OpensFromTheSystemMenuSavesTheReceiptUndoesAndClosesOnEsc) {
    SendMessageW(window->handle(), WM_COMMAND, MAKEWPARAM(IDC_CMDEXPORT, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window->handle(), IDC_CMDEXPORT)));
    ASSERT_NE(qbsim({"list-time", company}), "") << t.logText();

    // The system menu ends with the command (then the name map's), its access key H.
    const HMENU menu = GetSystemMenu(window->handle(), FALSE);
    const int last = GetMenuItemCount(menu) - 2;
    wchar_t text[64] = {};
    GetMenuStringW(menu, static_cast<UINT>(last), text, 64, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(text), L"Export &history\u2026");
    EXPECT_EQ(GetMenuItemID(menu, last), static_cast<UINT>(IDM_HISTORY));

    HistorySeen seen;
    window->setHistoryOpenedHook(&driveHistory, &seen);
    saveAnswers.answers.push_back(pathToUtf8(t.sandbox.file("Receipt.csv")));
    PostMessageW(window->handle(), WM_SYSCOMMAND, IDM_HISTORY, 0);
    ASSERT_TRUE(pump([&] { return seen.window != nullptr && !IsWindow(seen.window); }, 15000))
        << t.logText();

    EXPECT_EQ(seen.caption, L"Export history");
    EXPECT_EQ(seen.focused, IDC_HISTORYEXPORTS);
    EXPECT_EQ(seen.tabOrder, (std::vector<int>{IDC_HISTORYTICKETS, IDC_HISTORYTOTALS,
                                               IDC_HISTORYOUTCOME, IDC_HISTORYUNDO, IDC_HISTORYSAVE,
                                               IDC_HISTORYCLOSE, IDC_HISTORYEXPORTS}));
    ASSERT_EQ(seen.exportRow.size(), 7u);
    EXPECT_EQ(seen.exportRow[0], L"1");
    EXPECT_EQ(seen.exportRow[3], widen(company));
    EXPECT_EQ(seen.exportRow[4], L"2");
    EXPECT_EQ(seen.states, (Texts{L"posted", L"posted"}));
    EXPECT_EQ(seen.totalsLast, (Texts{L"All tickets", L"", L"2", L"15.50"}));

    // The receipt: the name that begins with = is not run as a formula.
    const std::string csv = t.sandbox.read("Receipt.csv");
    EXPECT_TRUE(
        csv.starts_with("\xEF\xBB\xBF"
                        "Employee,Date,Wage item,Hours,TxnID,State,Message\r\n"
                        "\"'=Anna, Zo\xC3\xAB\",2026-03-03,Hourly,7.5,"))
        << csv;

    // The undo: asked first, deleted with the hourglass, said, and the list made current.
    ASSERT_EQ(question.asked.size(), 1u);
    EXPECT_EQ(question.asked[0],
              "Export history: Undo export 1? This deletes its 2 time tickets "
              "(15.50 hours) from the company file \"" +
                  company + "\".");
    EXPECT_EQ(seen.outcome, Texts{L"Export 1: 2 time tickets deleted in QuickBooks."});
    EXPECT_EQ(seen.statesAfterUndo, (Texts{L"undone", L"undone"}));
    EXPECT_EQ(seen.undoneCount, L"2");
    EXPECT_FALSE(seen.undoEnabledAfter);
    EXPECT_TRUE(record.hourglassDuringUndo);
    EXPECT_EQ(qbsim({"list-time", company}), "");
    EXPECT_NE(IsWindowEnabled(GetDlgItem(window->handle(), IDC_CMDEXPORT)), FALSE);
    EXPECT_TRUE(t.prompter.shown.empty());
}

// The tip the tickets' list shows over `row`, as the list asks the window for it.
std::wstring ticketTip(HWND history, int row) {
    wchar_t buffer[1024] = {};
    NMLVGETINFOTIPW tip{};
    tip.hdr.hwndFrom = GetDlgItem(history, IDC_HISTORYTICKETS);
    tip.hdr.idFrom = IDC_HISTORYTICKETS;
    tip.hdr.code = LVN_GETINFOTIPW;
    tip.pszText = buffer;
    tip.cchTextMax = static_cast<int>(std::size(buffer));
    tip.iItem = row;
    SendMessageW(history, WM_NOTIFY, IDC_HISTORYTICKETS, reinterpret_cast<LPARAM>(&tip));
    return buffer;
}

// Reads the tickets' messages and tips, then closes.
void CALLBACK readTipsOnTimer(HWND window, UINT, UINT_PTR timer, DWORD) {
    KillTimer(window, timer);
    auto& seen = *reinterpret_cast<HistorySeen*>(GetPropW(window, L"seen"));
    seen.states = columnTexts(GetDlgItem(window, IDC_HISTORYTICKETS), 6);
    seen.outcome = {ticketTip(window, 0), ticketTip(window, 1)};
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_HISTORYCLOSE, BN_CLICKED), 0);
}

void readTips(HWND history, void* context) {
    static_cast<HistorySeen*>(context)->window = history;
    SetPropW(history, L"seen", context);
    SetTimer(history, 1, 50, &readTipsOnTimer);
}

// A refused ticket's message, wider than its column, is its row's tip whole.
TEST_F(HistoryOnScreen, ARefusalsMessageIsItsRowsTipWhole) {
    SendMessageW(window->handle(), WM_COMMAND, MAKEWPARAM(IDC_CMDEXPORT, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window->handle(), IDC_CMDEXPORT)));
    std::string message = "There is an invalid reference to QuickBooks Employee in the field.";
    message += std::string(255 - message.size(), 'x');
    {
        db::Connection cn;
        cn.open(db::connectionStringFor(state.interfaceDb.strInterfaceDB));
        cn.execute(
            "update ExportTicket set State='refused', TxnID=null, Message=? where "
            "Sequence=(select max(Sequence) from ExportTicket)",
            {db::Value(message)});
    }
    HistorySeen seen;
    window->setHistoryOpenedHook(&readTips, &seen);
    window->showHistory();
    ASSERT_EQ(seen.states.size(), 2u) << t.logText();
    EXPECT_EQ(seen.states[1], widen(message));
    EXPECT_EQ(seen.outcome, (Texts{L"", widen(message)}));
}

TEST_F(HistoryOnScreen, TheListsContextMenuOpensItFromTheKeyboard) {
    HistorySeen seen;
    window->setHistoryOpenedHook(
        [](HWND history, void* context) {
            static_cast<HistorySeen*>(context)->window = history;
            PostMessageW(history, WM_COMMAND, MAKEWPARAM(IDC_HISTORYCLOSE, BN_CLICKED), 0);
        },
        &seen);
    const HWND list = GetDlgItem(window->handle(), IDC_LSTSHOW);
    SetFocus(list);
    // Shift+F10 makes the list ask for its context menu at no point; H picks the command.
    PostMessageW(window->handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list),
                 MAKELPARAM(-1, -1));
    PostMessageW(list, WM_KEYDOWN, 'H', 1);
    PostMessageW(list, WM_CHAR, 'h', 1);
    EXPECT_TRUE(pump([&] { return seen.window != nullptr && !IsWindow(seen.window); }, 10000));
}

}  // namespace
}  // namespace vantrell::win32
