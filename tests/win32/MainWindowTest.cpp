#include <gtest/gtest.h>

#include <windows.h>

#include <objbase.h>
#include <winspool.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string_view>

#include "GuiTestSupport.h"
#include "RecordingProcessor.h"
#include "diag/FileSystem.h"
#include "diag/Utf16.h"
#include "interfacedb/Connection.h"
#include "interfacedb/ConnectionString.h"
#include "interfacedb/InterfaceDatabase.h"
#include "shell/ChronelFixture.h"
#include "shell/ShellFakes.h"
#include "shell/win32/Twips.h"
#include "shell/win32/Win32MainWindow.h"
#include "shell/win32/Win32Prompter.h"
#include "shell/win32/resource.h"
#include "standins/QbsimCommand.h"
#include "support/TestLog.h"

namespace vantrell::win32 {
namespace {

using testing::pumpUntil;

std::vector<std::wstring> listLines(HWND window) {
    return testing::listBoxLines(GetDlgItem(window, IDC_LSTSHOW));
}

bool listHas(HWND window, const std::wstring& text) {
    for (const auto& line : listLines(window)) {
        if (line.find(text) != std::wstring::npos) {
            return true;
        }
    }
    return false;
}

bool enabled(HWND window, int control) {
    return IsWindowEnabled(GetDlgItem(window, control)) != FALSE;
}

// The main window on the screen over a small time-and-attendance file (Worker One, 8 hours of
// Hourly) and a company file of the simulated accounting system that knows the wage items;
// whether it knows Worker One is up to the test.
struct MainWindowOnScreen : ::testing::Test {
    testing::TestLog t;
    ProgramState state;
    testing::MemorySettings settings;
    testing::ProcessorRecord record;
    std::string chronel = pathToUtf8(t.sandbox.file("ChronelV7.mde"));
    std::string company = pathToUtf8(t.sandbox.file("Company.qbw"));
    std::unique_ptr<Win32MainWindow> window;
    bool comJoined = false;

    void SetUp() override {
        if (!testing::canOpenWindows()) {
            GTEST_SKIP() << "no display";
        }
        comJoined = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        ASSERT_TRUE(blnConfigureInterfaceDatabase(t.log, state.interfaceDb));
        testing::writeSmallChronelFile(chronel, "Worker One");
        qbsim({"create", company});
        qbsim({"add-wage-item", company, "Hourly", "Overtime"});
        settings.values["CH7/QuickBooks/CHprog"] = chronel;
        settings.values["CH7/QuickBooks/QBdata"] = company;
    }

    void TearDown() override {
        window.reset();
        if (comJoined) {
            CoUninitialize();
        }
    }

    void qbsim(const std::vector<std::string>& args) {
        std::ostringstream out;
        std::ostringstream err;
        ASSERT_EQ(standins::runQbsim(args, out, err), 0) << err.str();
    }

    // Loads, shows and waits for the first activation to have run.
    void open() {
        window = std::make_unique<Win32MainWindow>(t.log, state, settings,
                                                   testing::RecordingProcessor::factoryFor(record));
        ASSERT_TRUE(window->load());
        window->show();
        ASSERT_TRUE(pump([&] { return window->activations() == 1 && !listLines(hwnd()).empty(); }))
            << "activations " << window->activations() << ", log: " << t.logText();
    }

    HWND hwnd() const { return window->handle(); }
    bool pump(const std::function<bool()>& done, int milliseconds = 5000) {
        return pumpUntil(done, milliseconds, window ? window->handle() : nullptr);
    }
};

TEST_F(MainWindowOnScreen, LaidOutInTwipsAtTheScreenResolutionWithItsCaptionAndFrame) {
    open();
    const int dpi = screenDotsPerInch();
    const auto px = [dpi](int twips) { return twipsToPixels(twips, dpi); };
    EXPECT_EQ(testing::windowText(hwnd()), L"RerovIrida Zoz Uvodi (Payroll Export)");
    const RECT client = testing::clientSize(hwnd());
    EXPECT_EQ(client.right, px(4770));
    EXPECT_EQ(client.bottom, px(5115));

    struct Place {
        int control;
        const wchar_t* caption;
        int left, top, width, height;
    };
    for (const Place place : {Place{IDC_LSTSHOW, L"", 120, 120, 4455, 4155},
                              Place{IDC_CMDCLOSE, L"&Close", 120, 4440, 1095, 495},
                              Place{IDC_CMDEXPORT, L"&Export", 1800, 4440, 1095, 495},
                              Place{IDC_CMDPRINT, L"&Print Screen", 3480, 4440, 1095, 495}}) {
        const HWND control = GetDlgItem(hwnd(), place.control);
        const RECT rect = testing::clientRectOf(control);
        EXPECT_EQ(rect.left, px(place.left)) << place.control;
        EXPECT_EQ(rect.top, px(place.top)) << place.control;
        EXPECT_EQ(rect.right - rect.left, px(place.width)) << place.control;
        EXPECT_EQ(rect.bottom - rect.top, px(place.height)) << place.control;
        if (place.control != IDC_LSTSHOW) {
            EXPECT_EQ(testing::windowText(control), place.caption);
        }
    }

    // A fixed dialog frame without minimise or maximise box and without a task-bar button.
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(hwnd(), GWL_STYLE));
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_FALSE(GetWindowLongPtrW(hwnd(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_NE(GetWindow(hwnd(), GW_OWNER), nullptr);

    // Centred on the screen's work area.
    RECT frame{};
    RECT work{};
    GetWindowRect(hwnd(), &frame);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_LE(std::abs((frame.left + frame.right) - (work.left + work.right)), 2);
    EXPECT_LE(std::abs((frame.top + frame.bottom) - (work.top + work.bottom)), 2);
}

// A caption as the button shows it: the access-key ampersands left out, "&&" shown as "&".
std::wstring shownCaption(const std::wstring& caption) {
    std::wstring shown;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == L'&') {
            if (i + 1 < caption.size() && caption[i + 1] == L'&') {
                shown += L'&';
                ++i;
            }
            continue;
        }
        shown += caption[i];
    }
    return shown;
}

// Each caption, in its button's font (the dialog's 8-point "MS Shell Dlg") made at 96 and at
// 144 dots per inch, fits inside the button laid out in twips at that resolution: inside its 3D
// edge and its focus rectangle, with a pixel to spare on each side (all grown with the
// resolution).
TEST_F(MainWindowOnScreen, CaptionsFitTheirButtonsInTheDialogFontAt96And144Dpi) {
    open();
    const int dpi = screenDotsPerInch();
    const HDC dc = GetDC(hwnd());
    ASSERT_NE(dc, nullptr);
    const int side =
        GetSystemMetrics(SM_CXEDGE) + std::max(GetSystemMetrics(SM_CXFOCUSBORDER), 1) + 1;
    for (const int control : {IDC_CMDCLOSE, IDC_CMDEXPORT, IDC_CMDPRINT}) {
        const HWND button = GetDlgItem(hwnd(), control);
        const auto font = reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0));
        ASSERT_NE(font, nullptr) << control;
        LOGFONTW design{};
        ASSERT_NE(GetObjectW(font, sizeof design, &design), 0) << control;
        EXPECT_STREQ(design.lfFaceName, L"MS Shell Dlg") << control;
        EXPECT_EQ(design.lfHeight, -MulDiv(8, dpi, 72)) << control;
        const std::wstring caption = shownCaption(testing::windowText(button));
        for (const int at : {96, 144}) {
            LOGFONTW scaled = design;
            scaled.lfHeight = -MulDiv(8, at, 72);
            const HFONT made = CreateFontIndirectW(&scaled);
            ASSERT_NE(made, nullptr);
            const HGDIOBJ before = SelectObject(dc, made);
            SIZE extent{};
            TEXTMETRICW metrics{};
            const BOOL measured = GetTextExtentPoint32W(dc, caption.c_str(),
                                                        static_cast<int>(caption.size()), &extent);
            GetTextMetricsW(dc, &metrics);
            wchar_t face[LF_FACESIZE]{};
            GetTextFaceW(dc, LF_FACESIZE, face);
            SelectObject(dc, before);
            DeleteObject(made);
            ASSERT_TRUE(measured);
            // Windows makes "MS Shell Dlg" Microsoft Sans Serif; Wine, without it, a font of the
            // machine's: one with the same metrics, or the captions measured here say nothing.
            const std::wstring_view resolved = face;
            EXPECT_TRUE(resolved == L"Microsoft Sans Serif" || resolved == L"Tahoma" ||
                        resolved == L"Arial" || resolved == L"Liberation Sans" ||
                        resolved == L"Arimo")
                << narrow(resolved) << " (Wine finds Liberation Sans in fonts-liberation2)";
            const int margins = MulDiv(2 * side, at, 96);
            EXPECT_LE(extent.cx + margins, twipsToPixels(1095, at))
                << narrow(caption) << " at " << at << " dpi: " << extent.cx << " + " << margins;
            EXPECT_LE(metrics.tmHeight + margins, twipsToPixels(495, at))
                << narrow(caption) << " at " << at << " dpi";
        }
    }
    ReleaseDC(hwnd(), dc);
}

// Whether the dialog manager turned a key into the cancel command to the main window.
bool cancelCommandSent = false;

LRESULT CALLBACK watchForCancel(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->message == WM_COMMAND && LOWORD(sent->wParam) == IDCANCEL) {
        cancelCommandSent = true;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Esc does nothing in the main window: only Close and the close box end the program, through
// the unload sequence.
TEST_F(MainWindowOnScreen, EscDoesNothingAndCloseThenRunsTheUnloadOnce) {
    open();
    const auto count = [this](const char* operation) {
        return std::count(record.calls.begin(), record.calls.end(), operation);
    };
    ASSERT_EQ(count("BeginSession"), 1);
    SetFocus(GetDlgItem(hwnd(), IDC_LSTSHOW));
    // Esc as the keyboard sends it to the control that has the focus.
    const UINT scanCode = MapVirtualKeyW(VK_ESCAPE, MAPVK_VK_TO_VSC) << 16;
    PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, static_cast<LPARAM>(0x00000001u | scanCode));
    PostMessageW(GetFocus(), WM_KEYUP, VK_ESCAPE, static_cast<LPARAM>(0xC0000001u | scanCode));
    cancelCommandSent = false;
    const HHOOK hook =
        SetWindowsHookExW(WH_CALLWNDPROC, &watchForCancel, nullptr, GetCurrentThreadId());
    pump([] { return cancelCommandSent; }, 2000);
    pump([] { return false; }, 300);
    if (hook != nullptr) {
        UnhookWindowsHookEx(hook);
        EXPECT_TRUE(cancelCommandSent);  // Esc reached the window as its cancel command
    }
    ASSERT_NE(hwnd(), nullptr);
    EXPECT_TRUE(IsWindowVisible(hwnd()));
    EXPECT_FALSE(window->logic().isUnloaded());
    EXPECT_EQ(count("EndSession"), 0);
    EXPECT_NE(state.interfaceDb.cnInterface, nullptr);

    testing::postClick(hwnd(), IDC_CMDCLOSE);
    EXPECT_TRUE(pump([&] { return hwnd() == nullptr; }));
    EXPECT_EQ(count("EndSession"), 1);
    EXPECT_EQ(count("CloseConnection"), 1);
    EXPECT_EQ(state.interfaceDb.cnInterface, nullptr);
}

TEST_F(MainWindowOnScreen, TabOrderRunsFromTheListThroughCloseExportAndPrint) {
    qbsim({"add-employee", company, "Worker One"});  // nothing missing: all three enabled
    open();
    EnableWindow(GetDlgItem(hwnd(), IDC_CMDPRINT), TRUE);  // off once nothing is missing
    EXPECT_EQ(testing::tabOrderAfter(hwnd(), GetDlgItem(hwnd(), IDC_LSTSHOW), 4),
              (std::vector<int>{IDC_CMDCLOSE, IDC_CMDEXPORT, IDC_CMDPRINT, IDC_LSTSHOW}));
}

TEST_F(MainWindowOnScreen, FirstActivationListsTheMissingNameAndSetsTheButtons) {
    open();
    EXPECT_TRUE(listHas(hwnd(), L"Worker One"));
    EXPECT_FALSE(enabled(hwnd(), IDC_CMDEXPORT));
    EXPECT_TRUE(enabled(hwnd(), IDC_CMDCLOSE));
    EXPECT_TRUE(enabled(hwnd(), IDC_CMDPRINT));
}

// Message boxes are not windows of the program: returning from one does not activate the main
// window again; returning from the locate dialog, another of its windows, does.
void CALLBACK closeActiveBox(HWND, UINT, UINT_PTR timer, DWORD) {
    if (HWND box = GetActiveWindow(); box != nullptr && GetParent(box) != nullptr) {
        KillTimer(nullptr, timer);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
}

void closeAtOnce(HWND dialog, void*) {
    testing::postClick(dialog, IDC_LOCATECLOSE);
}

TEST_F(MainWindowOnScreen, ActivationRepeatsAfterAnotherProgramWindowButNotAfterAMessageBox) {
    open();
    SetTimer(nullptr, 0, 100, &closeActiveBox);
    Win32Prompter().show("a note", "NOTE", MessageIcon::Information);
    pump([] { return false; }, 500);
    EXPECT_EQ(window->activations(), 1);

    testing::ScriptedUser nobody;
    frmLocateCHdata dialog(t.log, state, nobody);
    dialog.strFilter = kChronelFilter;
    dialog.Form_Load();
    window->locateHost().setOpenedHook(&closeAtOnce, nullptr);
    window->locateHost().showModal(dialog);
    EXPECT_TRUE(pump([&] { return window->activations() == 2; }));
}

TEST_F(MainWindowOnScreen, AccessKeyExportsWithTheHourglassUpAndReportsCompletion) {
    qbsim({"add-employee", company, "Worker One"});
    open();
    ASSERT_TRUE(enabled(hwnd(), IDC_CMDEXPORT));
    // Alt+E, as the keyboard sends it to the control that has the focus.
    SetFocus(GetDlgItem(hwnd(), IDC_LSTSHOW));
    PostMessageW(GetFocus(), WM_SYSCHAR, L'e', 1 << 29);
    EXPECT_TRUE(pump([&] { return listHas(hwnd(), L"Export complete."); }));
    EXPECT_TRUE(record.hourglassDuringExport);
    EXPECT_NE(GetCursor(), LoadCursorW(nullptr, IDC_WAIT));
    EXPECT_FALSE(enabled(hwnd(), IDC_CMDEXPORT));
}

TEST_F(MainWindowOnScreen, PrintScreenWithoutAPrinterIsLoggedAndChangesNothingElse) {
    DWORD length = 0;
    GetDefaultPrinterW(nullptr, &length);
    if (length != 0) {
        GTEST_SKIP() << "a default printer is installed here";
    }
    open();
    const auto before = listLines(hwnd());
    const std::size_t boxes = t.prompter.shown.size();
    testing::postClick(hwnd(), IDC_CMDPRINT);
    ASSERT_TRUE(pump([&] { return t.prompter.shown.size() > boxes; }));
    EXPECT_NE(t.logText().find(std::string(testing::kStamp) +
                               "cmdPrint_Click No default printer is installed.\r\n \r\n"),
              std::string::npos)
        << t.logText();
    EXPECT_EQ(listLines(hwnd()), before);
    EXPECT_NE(hwnd(), nullptr);
}

TEST_F(MainWindowOnScreen, CloseButtonAndCloseBoxEndTheSessionAndCloseTheWindow) {
    for (const bool button : {true, false}) {
        record = {};
        open();
        if (button) {
            testing::postClick(hwnd(), IDC_CMDCLOSE);
        } else {
            PostMessageW(hwnd(), WM_CLOSE, 0, 0);
        }
        EXPECT_TRUE(pump([&] { return hwnd() == nullptr; })) << button;
        EXPECT_EQ(record.calls.back(), "CloseConnection") << button;
        EXPECT_EQ(record.calls[record.calls.size() - 2], "EndSession") << button;
        EXPECT_EQ(state.interfaceDb.cnInterface, nullptr) << button;  // closed and released
        window.reset();
    }
}

TEST_F(MainWindowOnScreen, EndingTheProgramDuringActivationClosesWithoutTheUnloadSequence) {
    {
        db::Connection cn;
        cn.open(db::connectionStringFor(chronel));
        cn.execute("DELETE FROM EXPORTDFN");
    }
    window = std::make_unique<Win32MainWindow>(t.log, state, settings,
                                               testing::RecordingProcessor::factoryFor(record));
    ASSERT_TRUE(window->load());
    window->show();
    EXPECT_TRUE(pump([&] { return hwnd() == nullptr; }));
    EXPECT_GE(window->endStatus(), 0);
    EXPECT_EQ(std::count(record.calls.begin(), record.calls.end(), "EndSession"), 0);
    EXPECT_NE(t.logText().find("The export definitions have not been established in Chronel."),
              std::string::npos);
}

}  // namespace
}  // namespace vantrell::win32
