#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "GuiTestSupport.h"
#include "shell/win32/Win32Prompter.h"

namespace vantrell::win32 {
namespace {

// What the message box on the screen showed, read by a timer inside its modal loop before the
// timer presses OK.
struct SeenBox {
    std::wstring title;
    std::wstring text;
    bool warningIcon = false;
    bool informationIcon = false;
    bool closed = false;
};
SeenBox seen;

BOOL CALLBACK readChild(HWND child, LPARAM) {
    wchar_t className[16]{};
    GetClassNameW(child, className, 16);
    if (_wcsicmp(className, L"Static") != 0) {
        return TRUE;
    }
    const auto icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
    if (icon != nullptr) {
        seen.warningIcon |= icon == LoadIconW(nullptr, IDI_EXCLAMATION);
        seen.informationIcon |= icon == LoadIconW(nullptr, IDI_INFORMATION);
    } else if (!testing::windowText(child).empty()) {
        seen.text = testing::windowText(child);
    }
    return TRUE;
}

void CALLBACK readAndClose(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND box = GetActiveWindow();
    if (box == nullptr) {
        return;  // not shown yet
    }
    KillTimer(nullptr, timer);
    seen.title = testing::windowText(box);
    EnumChildWindows(box, &readChild, 0);
    seen.closed = true;
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}

struct PrompterOnScreen : ::testing::Test {
    void SetUp() override {
        if (!testing::canOpenWindows()) {
            GTEST_SKIP() << "no display";
        }
        seen = SeenBox{};
    }
};

TEST_F(PrompterOnScreen, ErrorBoxHasItsTitleTextAndExclamationIconAndWaitsForOk) {
    SetTimer(nullptr, 0, 100, &readAndClose);
    Win32Prompter().show("open the connection\r\nCould not start QuickBooks.\r\nOpenQBConnection",
                         "ERROR", MessageIcon::Warning);
    ASSERT_TRUE(seen.closed);  // show() returned only after the box was dismissed
    EXPECT_EQ(seen.title, L"ERROR");
    EXPECT_NE(seen.text.find(L"Could not start QuickBooks."), std::wstring::npos);
    EXPECT_TRUE(seen.warningIcon);
    EXPECT_FALSE(seen.informationIcon);
}

TEST_F(PrompterOnScreen, NoteBoxHasTheInformationIcon) {
    SetTimer(nullptr, 0, 100, &readAndClose);
    Win32Prompter().show("Couldn't configure the interface.", "NOTE", MessageIcon::Information);
    ASSERT_TRUE(seen.closed);
    EXPECT_EQ(seen.title, L"NOTE");
    EXPECT_EQ(seen.text, L"Couldn't configure the interface.");
    EXPECT_TRUE(seen.informationIcon);
    EXPECT_FALSE(seen.warningIcon);
}

}  // namespace
}  // namespace vantrell::win32
