#include <gtest/gtest.h>

#include "interfacedb/Catalog.h"
#include "interfacedb/ConnectionString.h"
#include "interfacedb/InterfaceDatabase.h"
#include "qblink/FakeRequestProcessor.h"
#include "qblink/FakeWindowControls.h"
#include "shell/ShellFakes.h"
#include "shell/window/LocationStep.h"
#include "shell/window/modVantrellMain.h"
#include "support/TestLog.h"

namespace vantrell {
namespace {

using testing::kStamp;

constexpr const char* kChronelLabel =
    "It is necessary to specify your Chronel application.  Click OK to locate ChronelV7.mde.";
constexpr const char* kCompanyLabel =
    "It is necessary to specify your QuickBooks data.  Click OK to locate your data.";

struct WindowFixture : ::testing::Test {
    testing::TestLog t;
    ProgramState state;
    testing::FakeWindowControls controls;
    testing::MemorySettings settings;
    testing::ScriptedUser user;
    testing::FakePrinter printer;
    testing::ProcessorScript processor;
    std::string chronel = t.sandbox.file("ChronelV7.mde").string();
    std::string company = t.sandbox.file("Company.qbw").string();

    void SetUp() override {
        ASSERT_TRUE(blnConfigureInterfaceDatabase(t.log, state.interfaceDb));
        db::Catalog catalog;
        catalog.create(db::catalogConnectionStringFor(chronel));
        t.sandbox.write("Company.qbw", "company");
    }

    frmVantrell window() {
        return frmVantrell(
            t.log, state,
            MainWindowServices{controls, settings, user, user, printer, processor.factory()});
    }

    std::string stored(const std::string& key) {
        return settings.GetSetting("CH7", "QuickBooks", key, "<none>");
    }
};

TEST_F(WindowFixture, FirstRunAsksForBothFilesInOrderAndRemembersThem) {
    user.answers = {chronel, company};
    auto w = window();
    w.Form_Load();
    EXPECT_FALSE(w.isUnloaded());
    EXPECT_EQ(user.labels, (std::vector<std::string>{kChronelLabel, kCompanyLabel}));
    EXPECT_EQ(user.filters, (std::vector<std::string>{kChronelFilter, kCompanyFilter}));
    EXPECT_EQ(user.flags, 4);
    EXPECT_EQ(stored("CHprog"), chronel);
    EXPECT_EQ(stored("QBdata"), company);
    EXPECT_TRUE(state.interfaceDb.cnInterface && state.extraction.cnChronel);
    EXPECT_TRUE(w.link().blnQBConnected);
    EXPECT_EQ(controls.enabled[WindowButton::Export], false);
    EXPECT_EQ(controls.enabled[WindowButton::Print], false);

    // Next run: nothing is asked and nothing is rewritten.
    ProgramState second;
    ASSERT_TRUE(blnConfigureInterfaceDatabase(t.log, second.interfaceDb));
    const int writes = settings.writes;
    frmVantrell again(
        t.log, second,
        MainWindowServices{controls, settings, user, user, printer, processor.factory()});
    again.Form_Load();
    EXPECT_EQ(user.labels.size(), 2u);
    EXPECT_EQ(settings.writes, writes);
    EXPECT_EQ(second.strCHprog, chronel);
    again.Form_Unload();
    w.Form_Unload();
}

TEST_F(WindowFixture, LeavingTheFirstDialogEndsTheLoadWithoutAnythingElse) {
    for (const bool cancel : {true, false}) {
        testing::ScriptedUser fresh;
        if (cancel) {
            fresh.answers = {""};  // OK, then Cancel in the file-open dialog
        }
        ProgramState s;
        ASSERT_TRUE(blnConfigureInterfaceDatabase(t.log, s.interfaceDb));
        frmVantrell w(
            t.log, s,
            MainWindowServices{controls, settings, fresh, fresh, printer, processor.factory()});
        w.Form_Load();
        EXPECT_TRUE(w.isUnloaded());
        EXPECT_EQ(fresh.labels, std::vector<std::string>{kChronelLabel});
        EXPECT_FALSE(s.interfaceDb.cnInterface);
        EXPECT_FALSE(s.extraction.cnChronel);
        EXPECT_EQ(processor.created, 0);
        EXPECT_EQ(settings.writes, 0);
    }
    EXPECT_TRUE(t.prompter.shown.empty());
}

TEST_F(WindowFixture, StaleOrWrongLocationsAreAskedAgainAndOnlyExistingFilesStored) {
    settings.SaveSetting("CH7", "QuickBooks", "CHprog", t.sandbox.file("moved.mde").string());
    settings.SaveSetting("CH7", "QuickBooks", "QBdata", t.sandbox.path().string());  // a folder
    user.answers = {chronel, t.sandbox.file("typed-but-missing.qbw").string()};
    auto w = window();
    w.Form_Load();
    EXPECT_EQ(user.labels.size(), 2u);
    EXPECT_EQ(stored("CHprog"), chronel);
    EXPECT_EQ(stored("QBdata"), t.sandbox.path().string());  // old value kept
    EXPECT_TRUE(w.isUnloaded());
    EXPECT_EQ(processor.created, 0);
}

TEST_F(WindowFixture, RefusedSessionShowsOneErrorAndUnloadClosesBothConnections) {
    user.answers = {chronel, company};
    processor.failures["BeginSession"] = "Could not open the company file.";
    auto w = window();
    w.Form_Load();
    EXPECT_TRUE(w.isUnloaded());
    ASSERT_EQ(t.prompter.shown.size(), 1u);
    EXPECT_EQ(t.prompter.shown[0].text, "begin a session at " + company +
                                            "\r\nCould not open the company file.\r\n"
                                            "OpenQBConnection");
    EXPECT_FALSE(state.interfaceDb.cnInterface);
    EXPECT_FALSE(state.extraction.cnChronel);
}

TEST_F(WindowFixture, UnloadEndsTheSessionBeforeClosingConnectionsOnlyOnce) {
    user.answers = {chronel, company};
    auto w = window();
    w.Form_Load();
    ASSERT_TRUE(w.link().blnQBConnected);
    processor.calls.clear();
    w.cmdClose_Click();
    w.Form_Unload();
    EXPECT_EQ(processor.calls.size(), 2u);
    EXPECT_EQ(processor.calls.at(0).rfind("EndSession", 0), 0u);
    EXPECT_EQ(processor.calls.at(1).rfind("CloseConnection", 0), 0u);
    EXPECT_FALSE(w.link().blnQBConnected);
    EXPECT_FALSE(state.interfaceDb.cnInterface);
    EXPECT_FALSE(state.extraction.cnChronel);
}

TEST_F(WindowFixture, PrintFailureIsLoggedAndChangesNothingElse) {
    auto w = window();
    printer.fail = true;
    controls.events.clear();
    w.cmdPrint_Click();
    EXPECT_EQ(t.logText(),
              std::string(kStamp) + "cmdPrint_Click No default printer is installed.\r\n \r\n");
    EXPECT_TRUE(controls.events.empty());
    printer.fail = false;
    w.cmdPrint_Click();
    EXPECT_EQ(printer.printed, 1);
}

TEST_F(WindowFixture, LocateDialogStaysOpenWhenItsFileDialogFails) {
    user.failOpen = true;
    user.answers = {"unused"};
    frmLocateCHdata dialog(t.log, state, user);
    dialog.strFilter = kCompanyFilter;
    dialog.Form_Load();
    EXPECT_EQ(dialog.lblLocate(), kCompanyLabel);
    dialog.cmdOK_Click();
    EXPECT_FALSE(dialog.closed());
    EXPECT_EQ(t.prompter.shown.at(0).text, "The file dialog could not be shown.\r\ncmdOK_Click");

    // Only the word QuickBooks, with its case, makes it ask for the company file.
    dialog.strFilter = "quickbooks data (*.qbw)|*.qbw";
    dialog.Form_Load();
    EXPECT_EQ(dialog.lblLocate(), kChronelLabel);
}

TEST(MainStart, UnconfigurableInterfaceEndsWithTheNoteAndNoWindow) {
    testing::TestLog t;
    std::filesystem::create_directory(t.sandbox.file("Vantrell.mdb"));
    ProgramState state;
    bool windowRan = false;
    const int status = Main(t.log, state, [&] {
        windowRan = true;
        return 0;
    });
    EXPECT_EQ(status, kExitEndedEarly);
    EXPECT_FALSE(windowRan);
    ASSERT_EQ(t.prompter.shown.size(), 2u);
    EXPECT_EQ(t.prompter.shown[1].text, "Couldn't configure the interface.");
    EXPECT_EQ(t.prompter.shown[1].title, "NOTE");
    EXPECT_NE(t.logText().find(std::string(kStamp) + "Main Couldn't configure the interface.\r\n"),
              std::string::npos);
}

TEST(MainStart, EndingTheProgramAtOnceReachesTheTop) {
    testing::TestLog t;
    ProgramState state;
    EXPECT_EQ(Main(t.log, state, []() -> int { throw EndProgram{1}; }), 1);
    EXPECT_EQ(Main(t.log, state, [] { return 0; }), 0);
}

}  // namespace
}  // namespace vantrell
