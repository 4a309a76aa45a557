#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "GuiTestSupport.h"
#include "ReportWindowFixture.h"
#include "diag/Utf16.h"
#include "interfacedb/Connection.h"
#include "interfacedb/ConnectionString.h"
#include "interfacedb/stage/NameMap.h"
#include "shell/win32/resource.h"

namespace vantrell::win32 {
namespace {

using testing::cellText;
using testing::columnTexts;
using Texts = std::vector<std::wstring>;

// A key pressed while `control` has the focus, as the keyboard sends it.
void postKey(HWND control, WPARAM key) {
    PostMessageW(control, WM_KEYDOWN, key, 1);
}

// What the test does in the name-choice dialog, and what it saw there.
struct ChoiceSeen {
    HWND window = nullptr;
    std::wstring filter;  // typed into the filter box
    bool cancel = false;  // Esc rather than Enter
    std::wstring caption;
    std::wstring prompt;
    Texts before;
    Texts filtered;
    int focused = 0;
    std::vector<int> tabOrder;
    bool okEnabled = false;
};

// A timer procedure is stdcall on 32-bit Windows, which a lambda cannot be converted to.
void CALLBACK driveChoiceOnTimer(HWND dialog, UINT, UINT_PTR timer, DWORD) {
    KillTimer(dialog, timer);
    auto& seen = *reinterpret_cast<ChoiceSeen*>(GetPropW(dialog, L"seen"));
    seen.caption = testing::windowText(dialog);
    seen.prompt = testing::windowText(GetDlgItem(dialog, IDC_CHOICEPROMPT));
    seen.focused = GetDlgCtrlID(GetFocus());
    seen.tabOrder = testing::tabOrderAfter(dialog, GetDlgItem(dialog, IDC_CHOICEFILTER), 4);
    const HWND list = GetDlgItem(dialog, IDC_CHOICELIST);
    seen.before = testing::listBoxLines(list);
    const HWND filter = GetDlgItem(dialog, IDC_CHOICEFILTER);
    SetWindowTextW(filter, seen.filter.c_str());  // the box reports the change as typing does
    seen.filtered = testing::listBoxLines(list);
    seen.okEnabled = IsWindowEnabled(GetDlgItem(dialog, IDOK)) != FALSE;
    SetFocus(filter);
    postKey(filter, seen.cancel ? VK_ESCAPE : VK_RETURN);
}

void driveChoice(HWND dialog, void* context) {
    static_cast<ChoiceSeen*>(context)->window = dialog;
    SetPropW(dialog, L"seen", context);
    SetTimer(dialog, 1, 50, &driveChoiceOnTimer);
}

// The context menu's items as the list's menu shows them, read while it is open.
struct MenuSeen {
    Texts texts;
    std::vector<bool> enabled;
};

MenuSeen* openMenuSeen = nullptr;

void CALLBACK readOpenMenu(HWND, UINT, UINT_PTR timer, DWORD) {
    const HWND popup = FindWindowW(L"#32768", nullptr);
    if (popup == nullptr) {
        return;  // not open yet: the timer comes again
    }
    KillTimer(nullptr, timer);
    const auto menu = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[128] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
        openMenuSeen->texts.push_back(text);
        openMenuSeen->enabled.push_back(
            (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_GRAYED) == 0);
    }
    // Esc closes the menu; nothing is chosen.
    PostMessageW(popup, WM_KEYDOWN, VK_ESCAPE, 1);
}

// The main window over Worker One and Anna, whom the accounting system knows, and Bob Jones,
// whom it knows only as "Jones Bob" (a close name, word order set aside); it also has an
// inactive Bob Smith.
struct NameMapOnScreen : testing::ReportWindowFixture {
    testing::SayYes question;

    NameMapOnScreen() : ReportWindowFixture("Anna") {}

    void prepare(Win32MainWindow& main) override {
        db::Connection cn;
        cn.open(db::connectionStringFor(chronel));
        cn.execute("INSERT INTO REPORTDATA VALUES ('Bob Jones', '2026-03-04', 6, 0, 0, NULL, 0)");
        qbsim({"add-employee", company, "Jones Bob", "Bob Smith"});
        qbsim({"set-inactive", company, "Bob Smith"});
        main.setYesNoQuestion(question);
    }

    HWND list() const { return GetDlgItem(window->handle(), IDC_LSTSHOW); }
    Texts lines() const { return testing::listBoxLines(list()); }

    // The list's context menu from the keyboard on line `line`, then `key` in the menu.
    void menuFromKeyboard(int line, WPARAM key) {
        SendMessageW(list(), LB_SETCURSEL, static_cast<WPARAM>(line), 0);
        SetFocus(list());
        PostMessageW(window->handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list()),
                     MAKELPARAM(-1, -1));
        PostMessageW(list(), WM_KEYDOWN, key, 1);
        PostMessageW(list(), WM_CHAR, key | 0x20, 1);
    }

    std::vector<stage::NameMapEntry> storedMap() {
        return stage::readNameMap(*state.interfaceDb.cnInterface);
    }
};

TEST_F(NameMapOnScreen, TheListsMenuOffersTheMapOnAMissingNamesLinesOnlyAndTheMapWindowAlways) {
    const Texts shown = lines();
    ASSERT_GE(shown.size(), 3u) << t.logText();
    EXPECT_EQ(shown[0], L"Missing Employee Bob Jones");
    EXPECT_NE(shown[1].find(L"Jones Bob"), std::wstring::npos) << shown[1];  // the hint

    const auto menuOn = [&](int line) {
        MenuSeen seen;
        openMenuSeen = &seen;
        SendMessageW(list(), LB_SETCURSEL, static_cast<WPARAM>(line), 0);
        SetTimer(nullptr, 0, 50, &readOpenMenu);
        SendMessageW(window->handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list()),
                     MAKELPARAM(-1, -1));
        openMenuSeen = nullptr;
        return seen;
    };
    const MenuSeen onName = menuOn(0);
    EXPECT_EQ(onName.texts, (Texts{L"&Review staged tickets\u2026", L"Export &history\u2026", L"",
                                   L"&Map to a QuickBooks name\u2026", L"&Name map\u2026"}));
    ASSERT_EQ(onName.enabled.size(), 5u);
    EXPECT_TRUE(onName.enabled[0] && onName.enabled[1] && onName.enabled[3] && onName.enabled[4]);
    EXPECT_TRUE(menuOn(1).enabled.at(3)) << "the hint line";
    const MenuSeen onCount = menuOn(static_cast<int>(shown.size()) - 1);
    EXPECT_FALSE(onCount.enabled.at(3)) << "the count of issues";
    EXPECT_TRUE(onCount.enabled.at(4));

    // The system menu ends with the name map, its access key N.
    const HMENU system = GetSystemMenu(window->handle(), FALSE);
    const int last = GetMenuItemCount(system) - 1;
    wchar_t text[64] = {};
    GetMenuStringW(system, static_cast<UINT>(last), text, 64, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(text), L"&Name map\u2026");
    EXPECT_EQ(GetMenuItemID(system, last), static_cast<UINT>(IDM_NAMEMAP));
}

TEST_F(NameMapOnScreen, AMissingNamesLineIsMappedThroughTheFilteredChoiceAndTheListMadeCurrent) {
    ChoiceSeen seen;
    seen.filter = L"JONES";
    window->setNameChoiceOpenedHook(&driveChoice, &seen);
    menuFromKeyboard(1, 'M');  // the hint's line
    ASSERT_TRUE(pump([&] { return seen.window != nullptr && !IsWindow(seen.window); }, 15000))
        << t.logText();

    EXPECT_EQ(seen.caption, L"Map to a QuickBooks name");
    EXPECT_EQ(seen.prompt, L"Stage the employee Bob Jones as this QuickBooks employee:");
    EXPECT_EQ(seen.focused, IDC_CHOICEFILTER);
    EXPECT_EQ(seen.tabOrder, (std::vector<int>{IDC_CHOICELIST, IDOK, IDCANCEL, IDC_CHOICEFILTER}));
    // The close name first, then the active names, then the inactive one marked.
    EXPECT_EQ(seen.before,
              (Texts{L"Jones Bob (close name)", L"Anna", L"Worker One", L"Bob Smith (inactive)"}));
    EXPECT_EQ(seen.filtered, Texts{L"Jones Bob (close name)"});
    EXPECT_TRUE(seen.okEnabled);

    // Enter stored the entry; the activation ran again and the name is no longer missing.
    const std::vector<stage::NameMapEntry> map = storedMap();
    ASSERT_EQ(map.size(), 1u);
    EXPECT_EQ(map[0].chronelName, "Bob Jones");
    EXPECT_EQ(map[0].quickBooksName, "Jones Bob");
    EXPECT_EQ(window->activations(), 1);  // no second activation from the dialog's closing
    for (const std::wstring& line : lines()) {
        EXPECT_EQ(line.find(L"Missing"), std::wstring::npos) << line;
    }
    EXPECT_NE(IsWindowEnabled(GetDlgItem(window->handle(), IDC_CMDEXPORT)), FALSE);
    EXPECT_TRUE(t.prompter.shown.empty());
}

TEST_F(NameMapOnScreen, EscInTheChoiceChangesNothingAndAFilterThatHidesEveryNameLeavesOkOff) {
    ChoiceSeen seen;
    seen.filter = L"nobody";
    seen.cancel = true;
    window->setNameChoiceOpenedHook(&driveChoice, &seen);
    menuFromKeyboard(0, 'M');
    ASSERT_TRUE(pump([&] { return seen.window != nullptr && !IsWindow(seen.window); }, 15000))
        << t.logText();
    EXPECT_TRUE(seen.filtered.empty());
    EXPECT_FALSE(seen.okEnabled);
    EXPECT_TRUE(storedMap().empty());
    EXPECT_EQ(lines().at(0), L"Missing Employee Bob Jones");
}

// What the test saw of the name map while it was open.
struct MapSeen {
    HWND window = nullptr;
    ChoiceSeen* choice = nullptr;
    std::wstring caption;
    Texts titles;
    Texts names;
    Texts namesSorted;
    Texts targets;
    Texts notes;
    std::wstring summary;
    Texts namesAfterChange;
    Texts targetsAfterChange;
    Texts namesAfterRemove;
    std::wstring summaryAfterRemove;
    int focused = 0;
    std::vector<int> tabOrder;
};

void selectRow(HWND list, int row) {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void CALLBACK driveMapOnTimer(HWND window, UINT, UINT_PTR timer, DWORD) {
    KillTimer(window, timer);
    auto& seen = *reinterpret_cast<MapSeen*>(GetPropW(window, L"seen"));
    seen.caption = testing::windowText(window);
    seen.focused = GetDlgCtrlID(GetFocus());
    const HWND entries = GetDlgItem(window, IDC_NAMEMAPENTRIES);
    seen.tabOrder = testing::tabOrderAfter(window, entries, 4);
    seen.titles = testing::columnTitles(entries, 4);
    seen.names = columnTexts(entries, 1);
    seen.targets = columnTexts(entries, 2);
    seen.notes = columnTexts(entries, 3);
    seen.summary = testing::windowText(GetDlgItem(window, IDC_NAMEMAPNOTE));
    testing::clickTitle(entries, 1);
    testing::clickTitle(entries, 1);
    seen.namesSorted = columnTexts(entries, 1);

    // Change the entry shown first (Jones B., sorted descending) to Bob Smith.
    selectRow(entries, 0);
    testing::sendClick(window, IDC_NAMEMAPCHANGE);
    seen.namesAfterChange = columnTexts(entries, 1);
    seen.targetsAfterChange = columnTexts(entries, 2);
    // Remove the entry of Bob Jones.
    for (int row = 0; row < static_cast<int>(seen.namesAfterChange.size()); ++row) {
        if (seen.namesAfterChange[static_cast<std::size_t>(row)] == L"Bob Jones") {
            selectRow(entries, row);
        }
    }
    testing::sendClick(window, IDC_NAMEMAPREMOVE);
    seen.namesAfterRemove = columnTexts(entries, 1);
    seen.summaryAfterRemove = testing::windowText(GetDlgItem(window, IDC_NAMEMAPNOTE));
    SetFocus(entries);
    postKey(entries, VK_ESCAPE);
}

void driveMap(HWND map, void* context) {
    static_cast<MapSeen*>(context)->window = map;
    SetPropW(map, L"seen", context);
    SetTimer(map, 1, 50, &driveMapOnTimer);
}

TEST_F(NameMapOnScreen, TheMapWindowShowsSharedEntriesSortsChangesAndRemovesAndClosesOnEsc) {
    {
        db::Connection& cn = *state.interfaceDb.cnInterface;
        stage::storeNameMapping(cn, stage::NameKind::Employee, "Bob Jones", "Jones Bob");
        stage::storeNameMapping(cn, stage::NameKind::Employee, "Jones B.", "Jones Bob");
    }
    MapSeen seen;
    ChoiceSeen choice;
    choice.filter = L"smith";
    window->setNameMapOpenedHook(&driveMap, &seen);
    window->setNameChoiceOpenedHook(&driveChoice, &choice);
    PostMessageW(window->handle(), WM_SYSCOMMAND, IDM_NAMEMAP, 0);
    ASSERT_TRUE(pump([&] { return seen.window != nullptr && !IsWindow(seen.window); }, 20000))
        << t.logText();

    EXPECT_EQ(seen.caption, L"Name map");
    EXPECT_EQ(seen.focused, IDC_NAMEMAPENTRIES);
    EXPECT_EQ(seen.tabOrder, (std::vector<int>{IDC_NAMEMAPCHANGE, IDC_NAMEMAPREMOVE,
                                               IDC_NAMEMAPCLOSE, IDC_NAMEMAPENTRIES}));
    EXPECT_EQ(seen.titles,
              (Texts{L"Kind", L"Time-and-attendance name", L"QuickBooks name", L"Note"}));
    EXPECT_EQ(seen.names, (Texts{L"Bob Jones", L"Jones B."}));
    EXPECT_EQ(seen.targets, (Texts{L"Jones Bob", L"Jones Bob"}));
    EXPECT_EQ(seen.notes,
              (Texts{L"Shares Jones Bob with Jones B.", L"Shares Jones Bob with Bob Jones"}));
    EXPECT_EQ(seen.summary, L"2 entries.");
    EXPECT_EQ(seen.namesSorted, (Texts{L"Jones B.", L"Bob Jones"}));

    // Change: the choice over the entry's name, the inactive name chosen by its filter.
    EXPECT_EQ(choice.prompt,
              L"Stage the employee Jones B. (now Jones Bob) as this QuickBooks employee:");
    EXPECT_EQ(choice.filtered, Texts{L"Bob Smith (inactive)"});
    EXPECT_EQ(seen.namesAfterChange, (Texts{L"Jones B.", L"Bob Jones"}));
    EXPECT_EQ(seen.targetsAfterChange, (Texts{L"Bob Smith", L"Jones Bob"}));

    // Remove: asked first, naming the entry.
    ASSERT_EQ(question.asked.size(), 1u);
    EXPECT_NE(question.asked[0].find("Bob Jones (staged as Jones Bob)"), std::string::npos)
        << question.asked[0];
    EXPECT_EQ(seen.namesAfterRemove, Texts{L"Jones B."});
    EXPECT_EQ(seen.summaryAfterRemove, L"1 entry.");

    const std::vector<stage::NameMapEntry> map = storedMap();
    ASSERT_EQ(map.size(), 1u);
    EXPECT_EQ(map[0].chronelName, "Jones B.");
    EXPECT_EQ(map[0].quickBooksName, "Bob Smith");
    // The activation ran again after the removal: Bob Jones is missing once more.
    EXPECT_EQ(lines().at(0), L"Missing Employee Bob Jones");
    EXPECT_TRUE(t.prompter.shown.empty());
}

}  // namespace
}  // namespace vantrell::win32
