#include <gtest/gtest.h>

#include <windows.h>

#include <commdlg.h>
#include <dlgs.h>
#include <objbase.h>

#include "GuiTestSupport.h"
#include "diag/Utf16.h"
#include "shell/ShellFakes.h"
#include "shell/win32/Twips.h"
#include "shell/win32/Win32FileOpenDialog.h"
#include "shell/win32/Win32LocateHost.h"
#include "shell/win32/resource.h"
#include "support/TestLog.h"

namespace vantrell::win32 {
namespace {

// What the locate dialog showed when it opened, and which button the test then pressed.
struct LocateSeen {
    int press = IDC_LOCATECLOSE;
    std::wstring caption;
    std::wstring label;
    LOGFONTW font{};
    LONG style = 0;
    RECT client{};
    RECT controls[3]{};
};

void inspectAndPress(HWND dialog, void* context) {
    auto& seen = *static_cast<LocateSeen*>(context);
    seen.caption = testing::windowText(dialog);
    seen.label = testing::windowText(GetDlgItem(dialog, IDC_LBLLOCATE));
    const auto font =
        reinterpret_cast<HFONT>(SendDlgItemMessageW(dialog, IDC_LBLLOCATE, WM_GETFONT, 0, 0));
    GetObjectW(font, sizeof seen.font, &seen.font);
    seen.style = static_cast<LONG>(GetWindowLongPtrW(dialog, GWL_STYLE));
    seen.client = testing::clientSize(dialog);
    const int ids[] = {IDC_LBLLOCATE, IDC_CMDOK, IDC_LOCATECLOSE};
    for (int i = 0; i < 3; ++i) {
        seen.controls[i] = testing::clientRectOf(GetDlgItem(dialog, ids[i]));
    }
    testing::postClick(dialog, seen.press);
}

// The real file-open dialog, driven from its hook: what it offered, then the name typed in
// (or Cancel when there is none).
struct FileDialogSeen {
    std::wstring answer;
    std::wstring filter;
    bool readOnlyBoxShown = true;
    bool opened = false;
};
FileDialogSeen fileDialogSeen;

UINT_PTR CALLBACK driveFileDialog(HWND child, UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_NOTIFY || reinterpret_cast<OFNOTIFYW*>(lParam)->hdr.code != CDN_INITDONE) {
        return 0;
    }
    const HWND dialog = GetParent(child);
    FileDialogSeen& seen = fileDialogSeen;
    seen.opened = true;
    const HWND filters = GetDlgItem(dialog, cmb1);
    const auto selected = SendMessageW(filters, CB_GETCURSEL, 0, 0);
    seen.filter.resize(static_cast<std::size_t>(
        SendMessageW(filters, CB_GETLBTEXTLEN, static_cast<WPARAM>(selected), 0)));
    SendMessageW(filters, CB_GETLBTEXT, static_cast<WPARAM>(selected),
                 reinterpret_cast<LPARAM>(seen.filter.data()));
    const HWND readOnly = GetDlgItem(dialog, chx1);
    seen.readOnlyBoxShown = readOnly != nullptr && IsWindowVisible(readOnly);
    if (seen.answer.empty()) {
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    } else {
        for (const int field : {cmb13, edt1}) {
            SendMessageW(dialog, CDM_SETCONTROLTEXT, static_cast<WPARAM>(field),
                         reinterpret_cast<LPARAM>(seen.answer.c_str()));
        }
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    }
    return 0;
}

struct LocateOnScreen : ::testing::Test {
    testing::TestLog t;
    ProgramState state;
    Win32FileOpenDialog fileDialog{&driveFileDialog};
    Win32LocateHost host;
    bool comJoined = false;

    void SetUp() override {
        if (!testing::canOpenWindows()) {
            GTEST_SKIP() << "no display";
        }
        comJoined = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        fileDialogSeen = FileDialogSeen{};
    }
    void TearDown() override {
        if (comJoined) {
            CoUninitialize();
        }
    }

    // Shows the dialog for `filter` and presses `button` once it is open.
    LocateSeen show(const std::string& filter, int button) {
        frmLocateCHdata dialog(t.log, state, fileDialog);
        dialog.strFilter = filter;
        dialog.Form_Load();
        LocateSeen seen;
        seen.press = button;
        host.setOpenedHook(&inspectAndPress, &seen);
        host.showModal(dialog);
        return seen;
    }
};

TEST_F(LocateOnScreen, LaidOutInTwipsWithItsCaptionLabelFontAndResizableFrame) {
    const LocateSeen seen = show(kCompanyFilter, IDC_LOCATECLOSE);
    EXPECT_EQ(seen.caption, L"LOCATE CHDATA");
    EXPECT_EQ(seen.label,
              L"It is necessary to specify your QuickBooks data.  Click OK to locate your data.");
    EXPECT_STREQ(seen.font.lfFaceName, L"MS Sans Serif");
    const int dpi = screenDotsPerInch();
    EXPECT_EQ(seen.font.lfHeight, -MulDiv(12, dpi, 72));
    EXPECT_EQ(seen.font.lfWeight, FW_NORMAL);
    EXPECT_TRUE(seen.style & WS_THICKFRAME);
    EXPECT_TRUE(seen.style & WS_MINIMIZEBOX);
    EXPECT_TRUE(seen.style & WS_MAXIMIZEBOX);

    const auto px = [dpi](int twips) { return twipsToPixels(twips, dpi); };
    EXPECT_EQ(seen.client.right, px(3915));
    EXPECT_EQ(seen.client.bottom, px(2280));
    const int places[3][4] = {
        {240, 240, 3375, 1215}, {120, 1560, 975, 495}, {2760, 1560, 975, 495}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(seen.controls[i].left, px(places[i][0])) << i;
        EXPECT_EQ(seen.controls[i].top, px(places[i][1])) << i;
        EXPECT_EQ(seen.controls[i].right - seen.controls[i].left, px(places[i][2])) << i;
        EXPECT_EQ(seen.controls[i].bottom - seen.controls[i].top, px(places[i][3])) << i;
    }
}

TEST_F(LocateOnScreen, CloseLeavesBothLocationsAsTheyWere) {
    state.strCHprog = "before";
    const LocateSeen seen = show(kChronelFilter, IDC_LOCATECLOSE);
    EXPECT_EQ(seen.label,
              L"It is necessary to specify your Chronel application.  Click OK to locate "
              L"ChronelV7.mde.");
    EXPECT_EQ(state.strCHprog, "before");
    EXPECT_EQ(state.strQBdata, "");
    EXPECT_FALSE(fileDialogSeen.opened);
}

TEST_F(LocateOnScreen, OkRunsTheRealFileDialogWithTheFilterAndTakesATypedNameThatDoesNotExist) {
    const std::string typed = (t.sandbox.path() / "not yet there.qbw").string();
    fileDialogSeen.answer = widen(typed);
    show(kCompanyFilter, IDC_CMDOK);
    ASSERT_TRUE(fileDialogSeen.opened);
    EXPECT_EQ(fileDialogSeen.filter, L"QuickBooks Data (*.qbw)");
    EXPECT_FALSE(fileDialogSeen.readOnlyBoxShown);
    EXPECT_EQ(state.strQBdata, typed);
    EXPECT_EQ(t.prompter.shown.size(), 0u);
}

TEST_F(LocateOnScreen, CancellingTheFileDialogStoresAnEmptyNameWithoutAnError) {
    state.strCHprog = "before";
    show(kChronelFilter, IDC_CMDOK);
    ASSERT_TRUE(fileDialogSeen.opened);
    EXPECT_EQ(fileDialogSeen.filter, L"Chronel Application (ChronelV7.mde)");
    EXPECT_EQ(state.strCHprog, "");
    EXPECT_EQ(t.prompter.shown.size(), 0u);
}

}  // namespace
}  // namespace vantrell::win32
