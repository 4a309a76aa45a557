#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "diag/FileSystem.h"
#include "interfacedb/InterfaceDatabase.h"
#include "interfacedb/stage/NameMap.h"
#include "qblink/FakeWindowControls.h"
#include "shell/ChronelFixture.h"
#include "shell/ShellFakes.h"
#include "shell/window/MapNameCommand.h"
#include "shell/window/NameChoice.h"
#include "standins/ProcessorChoice.h"
#include "support/DemoCompany.h"
#include "support/TestLog.h"

namespace vantrell {
namespace {

using Lines = std::vector<std::string>;

// The clerk at the name-choice dialog: records what it shows, then acts as `act` says.
struct ScriptedChooser final : NameChoiceHost {
    std::function<void(NameChoice&)> act = [](NameChoice& choice) { choice.cancelClicked(); };
    std::vector<std::string> prompts;
    std::vector<Lines> shown;
    void showModal(NameChoice& choice) override {
        prompts.push_back(choice.prompt());
        shown.push_back(choice.choiceTexts());
        while (!choice.closed()) {
            act(choice);
        }
    }
};

// Selects the choice shown as `text` and presses OK.
void chooseText(NameChoice& choice, const std::string& text) {
    const Lines texts = choice.choiceTexts();
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (texts[i] == text) {
            choice.select(i);
        }
    }
    choice.okClicked();
    if (!choice.closed()) {
        choice.cancelClicked();
    }
}

struct ScriptedQuestion final : YesNoQuestion {
    std::vector<bool> answers;
    std::vector<std::string> asked;
    bool ask(const std::string& text, const std::string& title) override {
        asked.push_back(title + ": " + text);
        const bool yes = !answers.empty() && answers.front();
        if (!answers.empty()) {
            answers.erase(answers.begin());
        }
        return yes;
    }
};

struct NoPrinter final : WindowPrinter {
    void printWindowImage() override {}
};

// The main window's logic over the stand-in accounting system, whose company file lacks the
// employee "Bob Jones" (it has "Jones, Bob") and the wage item "Hourly".
struct NameMapWindowFixture : ::testing::Test {
    testing::TestLog t;
    ProgramState state;
    testing::FakeWindowControls controls;
    testing::MemorySettings settings;
    testing::ScriptedUser user;
    NoPrinter printer;
    ScriptedChooser chooser;
    ScriptedQuestion question;
    std::unique_ptr<MainWindowSteps> steps;

    void SetUp() override {
        ASSERT_TRUE(blnConfigureInterfaceDatabase(t.log, state.interfaceDb));
        const std::string chronel = pathToUtf8(t.sandbox.file("ChronelV7.mde"));
        testing::writeSmallChronelFile(chronel, "Bob Jones");
        const std::string company = pathToUtf8(t.sandbox.file("Company.qbw"));
        testing::writeCloseNamesCompany(company, "Hourly Wage");
        settings.SaveSetting("CH7", "QuickBooks", "CHprog", chronel);
        settings.SaveSetting("CH7", "QuickBooks", "QBdata", company);
        steps = std::make_unique<MainWindowSteps>(
            t.log, state,
            MainWindowServices{controls, settings, user, user, printer, processorFactoryFor("sim")},
            [](int) {});
        ASSERT_TRUE(steps->load());
        steps->activate();
    }

    void TearDown() override { steps->close(); }

    db::Connection& cn() { return *state.interfaceDb.cnInterface; }

    Lines mapRows() {
        Lines rows;
        for (const stage::NameMapEntry& entry : stage::readNameMap(cn())) {
            rows.push_back(std::string(stage::nameKindText(entry.kind)) + "|" + entry.chronelName +
                           "|" + entry.quickBooksName);
        }
        return rows;
    }

    bool mapLine(std::size_t line) {
        return runMapNameCommand(t.log, state, *steps, controls, chooser, line);
    }
};

TEST_F(NameMapWindowFixture, MapNameFromAMissingNamesLineStoresTheChoiceAndListsAgain) {
    ASSERT_EQ(controls.lines,
              (Lines{"Missing Employee Bob Jones", "  QuickBooks has a close name: Jones, Bob",
                     "Mising Pay Type Hourly", "", "There are 2 issues requiring resolution."}));
    const std::vector<bool> applies{true, true, true, false, false, false};
    for (std::size_t line = 0; line < applies.size(); ++line) {
        EXPECT_EQ(mapNameApplies(*steps, line), applies[line]) << line;
    }

    chooser.act = [](NameChoice& choice) {
        choice.setFilter("JONES");
        chooseText(choice, "Jones, Bob (close name)");
    };
    EXPECT_TRUE(mapLine(1));  // the hint's line maps the name above it
    EXPECT_EQ(chooser.prompts.back(), "Stage the employee Bob Jones as this QuickBooks employee:");
    EXPECT_EQ(chooser.shown.back(), (Lines{"Jones, Bob (close name)", "Robert Jones", "Worker One",
                                           "Bobby Jones (inactive)"}));
    EXPECT_EQ(mapRows(), Lines{"employee|Bob Jones|Jones, Bob"});
    // The activation ran again: the employee is no longer missing.
    EXPECT_EQ(controls.lines,
              (Lines{"Mising Pay Type Hourly", "", "There are 1 issues requiring resolution."}));
    EXPECT_TRUE(mapNameApplies(*steps, 0));
    EXPECT_FALSE(mapNameApplies(*steps, 1));

    chooser.act = [](NameChoice& choice) { chooseText(choice, "Hourly Wage"); };
    EXPECT_TRUE(mapLine(0));
    EXPECT_EQ(chooser.prompts.back(), "Stage the pay type Hourly as this QuickBooks wage item:");
    EXPECT_EQ(chooser.shown.back(), (Lines{"Hourly Wage", "Overtime"}));
    EXPECT_EQ(controls.lines, Lines{"Click Export to post your time tickets in QuickBooks."});
    EXPECT_TRUE(controls.enabled[WindowButton::Export]);
    EXPECT_FALSE(mapNameApplies(*steps, 0));
}

TEST_F(NameMapWindowFixture, MapNameCancelledOnAnotherLineOrWithoutASessionChangesNothing) {
    EXPECT_FALSE(mapLine(0));  // the chooser cancels
    EXPECT_EQ(chooser.shown.size(), 1u);
    EXPECT_FALSE(mapLine(4));  // "There are 2 issues…"
    EXPECT_EQ(chooser.shown.size(), 1u);
    EXPECT_TRUE(mapRows().empty());
    EXPECT_EQ(controls.lines.front(), "Missing Employee Bob Jones");

    // The names cannot be asked for: logged, and no dialog opens.
    steps->logic().link().CloseQBConnection();
    EXPECT_FALSE(mapLine(0));
    EXPECT_EQ(chooser.shown.size(), 1u);
    EXPECT_NE(t.logText().find("MapName There is no session with QuickBooks"), std::string::npos)
        << t.logText();
    EXPECT_EQ(controls.pointer, MousePointer::Default);
}

TEST_F(NameMapWindowFixture, MapNameOnANameTheMapGaveChangesThatEntry) {
    stage::storeNameMapping(cn(), stage::NameKind::Employee, "Bob Jones", "Robrt Jones");
    steps->activate();
    ASSERT_GE(controls.lines.size(), 2u);
    EXPECT_EQ(controls.lines[0], "Missing Employee Robrt Jones");
    EXPECT_EQ(controls.lines[1],
              "  The name map gives Robrt Jones for the employee Bob Jones, and QuickBooks has no "
              "Robrt Jones.");
    const QuickBooksLink::MissingNameLine* missing = steps->logic().missingNameAt(0);
    ASSERT_NE(missing, nullptr);
    EXPECT_EQ(missing->name, "Robrt Jones");
    EXPECT_EQ(missing->chronelNames, Lines{"Bob Jones"});

    chooser.act = [](NameChoice& choice) { chooseText(choice, "Robert Jones"); };
    EXPECT_TRUE(mapLine(0));
    EXPECT_EQ(chooser.prompts.back(), "Stage the employee Bob Jones as this QuickBooks employee:");
    EXPECT_EQ(mapRows(), Lines{"employee|Bob Jones|Robert Jones"});
    EXPECT_EQ(controls.lines.front(), "Mising Pay Type Hourly");
}

TEST_F(NameMapWindowFixture, NameMapWindowChangesAndRemovesEntriesWithTheListMadeCurrent) {
    stage::storeNameMapping(cn(), stage::NameKind::Employee, "Bob Jones", "Robrt Jones");
    cn().execute(
        "insert into NameMap (Kind, ChronelName, QuickBooksName) values ('boss', 'X', 'Y')");
    std::unique_ptr<NameMapList> list = openNameMapList(t.log, state);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->rowCount(), 2u);

    // A damaged row is not changed.
    EXPECT_FALSE(runChangeMapEntryCommand(t.log, *steps, controls, chooser, *list, 1));
    EXPECT_TRUE(chooser.shown.empty());

    chooser.act = [](NameChoice& choice) { chooseText(choice, "Robert Jones"); };
    EXPECT_TRUE(runChangeMapEntryCommand(t.log, *steps, controls, chooser, *list, 0));
    EXPECT_EQ(chooser.prompts.back(),
              "Stage the employee Bob Jones (now Robrt Jones) as this QuickBooks employee:");
    EXPECT_EQ(list->text(0, 2), "Robert Jones");
    EXPECT_EQ(controls.lines.front(), "Mising Pay Type Hourly");

    // No keeps the entry; Yes removes it, and the name is missing again.
    EXPECT_FALSE(runRemoveMapEntryCommand(t.log, *steps, question, *list, 0));
    EXPECT_EQ(list->rowCount(), 2u);
    question.answers = {true, true};
    EXPECT_TRUE(runRemoveMapEntryCommand(t.log, *steps, question, *list, 0));
    EXPECT_EQ(question.asked[1],
              "Name map: Remove the map entry of the employee Bob Jones (staged as Robert Jones)? "
              "Bob Jones is then staged as the time-and-attendance system spells it.");
    EXPECT_EQ(controls.lines.front(), "Missing Employee Bob Jones");
    ASSERT_EQ(list->rowCount(), 1u);
    EXPECT_TRUE(list->damaged(0));
    EXPECT_TRUE(runRemoveMapEntryCommand(t.log, *steps, question, *list, 0));
    EXPECT_EQ(list->rowCount(), 0u);
    EXPECT_TRUE(mapRows().empty());
}

}  // namespace
}  // namespace vantrell
