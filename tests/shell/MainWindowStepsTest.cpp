#include "shell/window/MainWindowSteps.h"

#include <gtest/gtest.h>

#include <vector>

#include "diag/Failure.h"
#include "interfacedb/InterfaceDatabase.h"
#include "qblink/FakeRequestProcessor.h"
#include "qblink/FakeWindowControls.h"
#include "shell/ShellFakes.h"
#include "support/TestLog.h"

namespace vantrell {
namespace {

// A printer whose first use ends the program at once with status 5.
class EndingPrinter final : public WindowPrinter {
  public:
    void printWindowImage() override {
        ++printed;
        throw EndProgram{5};
    }
    int printed = 0;
};

struct StepsFixture : ::testing::Test {
    testing::TestLog t;
    ProgramState state;
    testing::FakeWindowControls controls;
    testing::MemorySettings settings;
    testing::ScriptedUser user;
    EndingPrinter printer;
    testing::ProcessorScript processor;
    std::vector<int> windowEnds;

    void SetUp() override { ASSERT_TRUE(blnConfigureInterfaceDatabase(t.log, state.interfaceDb)); }

    MainWindowSteps steps() {
        return MainWindowSteps(
            t.log, state,
            MainWindowServices{controls, settings, user, user, printer, processor.factory()},
            [this](int status) { windowEnds.push_back(status); });
    }
};

TEST_F(StepsFixture, MainWindowStepsEndingAtOnceStopsEveryLaterStepAndTheUnload) {
    auto s = steps();
    s.printClicked();
    EXPECT_TRUE(s.ended());
    EXPECT_EQ(s.endStatus(), 5);
    EXPECT_EQ(windowEnds, std::vector<int>{5});

    s.printClicked();
    s.exportClicked();
    s.activate();
    s.close();
    EXPECT_EQ(printer.printed, 1);
    EXPECT_TRUE(controls.events.empty());
    EXPECT_FALSE(s.logic().isUnloaded());
    EXPECT_EQ(windowEnds.size(), 1u);
}

TEST_F(StepsFixture, MainWindowStepsCloseRunsTheUnloadSequence) {
    auto s = steps();
    s.close();
    EXPECT_TRUE(s.logic().isUnloaded());
    EXPECT_FALSE(s.ended());
    EXPECT_EQ(s.endStatus(), -1);
    EXPECT_TRUE(windowEnds.empty());
}

TEST_F(StepsFixture, MainWindowStepsStopKeepsLaterStepsFromRunningWithoutEndingTheWindow) {
    auto s = steps();
    s.stop();
    s.printClicked();
    s.close();
    EXPECT_EQ(printer.printed, 0);
    EXPECT_FALSE(s.logic().isUnloaded());
    EXPECT_EQ(s.endStatus(), -1);
    EXPECT_TRUE(windowEnds.empty());
}

TEST_F(StepsFixture, MainWindowStepsLoadIsFalseWhenTheWindowUnloadsItself) {
    auto s = steps();  // no location stored and nobody answers the locate dialog
    EXPECT_FALSE(s.load());
    EXPECT_TRUE(s.logic().isUnloaded());
    EXPECT_FALSE(s.ended());
}

TEST_F(StepsFixture, MainWindowStepsActivationIsDueFirstAndOnReturnFromAnotherOwnWindow) {
    struct Row {
        bool fromOtherWindow;
        bool due;
    };
    // The first activation, a return from a message box or another application, a return from
    // another of the program's windows, and one more plain return.
    const Row rows[] = {{false, true}, {false, false}, {true, true}, {false, false}};
    auto s = steps();
    EXPECT_FALSE(s.activatedOnce());
    for (const Row& row : rows) {
        EXPECT_EQ(s.activationDue(row.fromOtherWindow), row.due);
        EXPECT_TRUE(s.activatedOnce());
    }
    auto other = steps();
    EXPECT_TRUE(other.activationDue(true));  // the first is due whatever came before
}

}  // namespace
}  // namespace vantrell
