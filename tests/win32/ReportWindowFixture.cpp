#include "ReportWindowFixture.h"

#include <objbase.h>

#include <commctrl.h>

#include <sstream>

#include "GuiTestSupport.h"
#include "diag/FileSystem.h"
#include "interfacedb/Connection.h"
#include "interfacedb/ConnectionString.h"
#include "interfacedb/InterfaceDatabase.h"
#include "shell/ChronelFixture.h"
#include "standins/QbsimCommand.h"

namespace vantrell::testing {

std::wstring cellText(HWND list, int row, int column) {
    wchar_t buffer[512] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = static_cast<int>(std::size(buffer));
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return buffer;
}

std::vector<std::wstring> columnTexts(HWND list, int column) {
    std::vector<std::wstring> texts;
    const auto rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int r = 0; r < rows; ++r) {
        texts.push_back(cellText(list, r, column));
    }
    return texts;
}

ReportWindowFixture::ReportWindowFixture(std::string secondEmployee)
    : chronel(pathToUtf8(t.sandbox.file("ChronelV7.mde"))),
      company(pathToUtf8(t.sandbox.file("Company.qbw"))),
      secondEmployee_(std::move(secondEmployee)) {}

void ReportWindowFixture::SetUp() {
    if (!canOpenWindows()) {
        GTEST_SKIP() << "no display";
    }
    comJoined = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    ASSERT_TRUE(blnConfigureInterfaceDatabase(t.log, state.interfaceDb));
    writeSmallChronelFile(chronel, "Worker One");
    {
        db::Connection cn;
        cn.open(db::connectionStringFor(chronel));
        cn.execute("INSERT INTO REPORTDATA VALUES (?, '2026-03-03', 7.5, 0, 0, NULL, 0)",
                   {db::Value(secondEmployee_)});
    }
    qbsim({"create", company});
    qbsim({"add-wage-item", company, "Hourly", "Overtime"});
    qbsim({"add-employee", company, "Worker One"});
    qbsim({"add-employee", company, secondEmployee_});
    settings.values["CH7/QuickBooks/CHprog"] = chronel;
    settings.values["CH7/QuickBooks/QBdata"] = company;
    window = std::make_unique<win32::Win32MainWindow>(t.log, state, settings,
                                                      RecordingProcessor::factoryFor(record));
    window->setFileSaveDialog(saveAnswers);
    prepare(*window);
    ASSERT_TRUE(window->load());
    window->show();
    ASSERT_TRUE(pump([&] { return window->activations() == 1; })) << t.logText();
}

void ReportWindowFixture::TearDown() {
    window.reset();
    if (comJoined) {
        CoUninitialize();
    }
}

std::string ReportWindowFixture::qbsim(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(standins::runQbsim(args, out, err), 0) << err.str();
    return out.str();
}

bool ReportWindowFixture::pump(const std::function<bool()>& done, int milliseconds) {
    return pumpUntil(done, milliseconds, window ? window->handle() : nullptr);
}

}  // namespace vantrell::testing
