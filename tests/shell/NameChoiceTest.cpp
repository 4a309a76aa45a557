#include "shell/window/NameChoice.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "interfacedb/InterfaceDatabase.h"
#include "interfacedb/modDataDef.h"
#include "interfacedb/stage/NameMap.h"
#include "shell/window/NameMapList.h"
#include "support/TestLog.h"

namespace vantrell {
namespace {

using Lines = std::vector<std::string>;
using stage::NameKind;

// The dialog's and the map window's logic over a name map in a fresh Vantrell.mdb.
struct NameMapLogicFixture : ::testing::Test {
    testing::TestLog t;
    ProgramState state;
    db::Connection* cn = nullptr;

    // The accounting system's employees: a close name, active ones out of order, inactive ones.
    const std::vector<hints::HeldName> employees{
        {"robert jones", true}, {"Jones, Bob", true}, {"Zoë Adams", false},
        {"Adam Ant", true},     {"BOB JONES", false}, {std::string(51, 'x'), true}};

    void SetUp() override {
        ASSERT_TRUE(blnConfigureInterfaceDatabase(t.log, state.interfaceDb));
        ASSERT_TRUE(blnOpenConnection(t.log, state.interfaceDb.cnInterface,
                                      state.interfaceDb.strInterfaceDB));
        cn = &*state.interfaceDb.cnInterface;
    }

    NameChoice choice(const std::string& name, const std::string& current = "") {
        return NameChoice(t.log, *cn, {NameKind::Employee, name, {name}, current}, employees);
    }

    Lines mapRows() {
        Lines rows;
        for (const stage::NameMapEntry& entry : stage::readNameMap(*cn)) {
            rows.push_back(std::string(stage::nameKindText(entry.kind)) + "|" + entry.chronelName +
                           "|" + entry.quickBooksName);
        }
        return rows;
    }

    static Lines table(const NameMapList& list) {
        Lines rows;
        for (std::size_t r = 0; r < list.rowCount(); ++r) {
            std::string row;
            for (std::size_t c = 0; c < NameMapList::kColumnCount; ++c) {
                row += (c == 0 ? "" : "|") + list.text(r, c);
            }
            rows.push_back(row);
        }
        return rows;
    }
};

TEST_F(NameMapLogicFixture, NameChoiceListsCloseNamesFirstThenActiveThenInactiveMarked) {
    const NameChoice c = choice("Bob Jones");
    EXPECT_EQ(c.prompt(), "Stage the employee Bob Jones as this QuickBooks employee:");
    EXPECT_EQ(c.choiceTexts(),
              (Lines{"BOB JONES (close name, inactive)", "Jones, Bob (close name)", "Adam Ant",
                     "robert jones", std::string(51, 'x'), "Zoë Adams (inactive)"}));
    // A new entry starts on the closest name.
    EXPECT_EQ(c.selectedChoice(), std::optional<std::size_t>(0));

    // An entry being changed starts on the name it gives now, marked.
    const NameChoice changed = choice("Bobby", "Adam Ant");
    EXPECT_EQ(changed.prompt(),
              "Stage the employee Bobby (now Adam Ant) as this QuickBooks employee:");
    EXPECT_EQ(changed.choiceTexts().front(), "Adam Ant (mapped now)");
    EXPECT_EQ(changed.selectedChoice(), std::optional<std::size_t>(0));

    // Several time-and-attendance names given one staged name are mapped together.
    const NameChoice several(t.log, *cn, {NameKind::PayType, "Hourly", {"Reg", "Regular"}, ""},
                             {{"Hourly Wage", true}});
    EXPECT_EQ(several.prompt(),
              "Stage the pay types Reg and Regular as this QuickBooks wage item:");
    EXPECT_FALSE(several.selectedChoice().has_value());
    EXPECT_FALSE(several.okEnabled());
}

TEST_F(NameMapLogicFixture, NameChoiceFilterFoldsLetterCaseAndKeepsOrMovesTheSelection) {
    NameChoice c = choice("Bob Jones");
    c.select(3);  // robert jones
    c.setFilter("JONES");
    EXPECT_EQ(c.choiceTexts(), (Lines{"BOB JONES (close name, inactive)", "Jones, Bob (close name)",
                                      "robert jones"}));
    EXPECT_EQ(c.selectedChoice(), std::optional<std::size_t>(2));
    // Accents fold their case as the hints fold it; the marks are not searched.
    c.setFilter("ZOË");
    EXPECT_EQ(c.choiceTexts(), Lines{"Zoë Adams (inactive)"});
    EXPECT_EQ(c.selectedChoice(), std::optional<std::size_t>(0));
    c.setFilter("inactive");
    EXPECT_TRUE(c.choices().empty());
    EXPECT_FALSE(c.okEnabled());
    c.okClicked();
    EXPECT_FALSE(c.closed());
    c.setFilter("");
    EXPECT_EQ(c.choices().size(), employees.size());
    c.select(99);
    EXPECT_FALSE(c.okEnabled());
}

TEST_F(NameMapLogicFixture, NameChoiceOkStoresTheEntryAndRefusesSelfOrTooWideNames) {
    {
        NameChoice c = choice("Bob Jones");
        c.select(0);  // BOB JONES: the same name, letter case aside
        c.okClicked();
        EXPECT_FALSE(c.closed());
        EXPECT_FALSE(c.stored());
        c.select(4);  // 51 characters: wider than the stage
        c.okClicked();
        EXPECT_FALSE(c.closed());
        EXPECT_TRUE(mapRows().empty());
        const std::string log = t.logText();
        EXPECT_NE(log.find("MapName The employee was not mapped: \"Bob Jones\" cannot be mapped "
                           "to itself."),
                  std::string::npos)
            << log;
        EXPECT_NE(log.find("has 51 characters; a name may have at most 50."), std::string::npos)
            << log;

        c.select(1);
        c.okClicked();
        EXPECT_TRUE(c.closed());
        EXPECT_TRUE(c.stored());
        EXPECT_EQ(c.storedName(), "Jones, Bob");
        EXPECT_EQ(mapRows(), Lines{"employee|Bob Jones|Jones, Bob"});
    }
    {
        // Cancel changes nothing.
        NameChoice c = choice("Bob Jones", "Jones, Bob");
        c.select(2);
        c.cancelClicked();
        EXPECT_TRUE(c.closed());
        EXPECT_FALSE(c.stored());
        EXPECT_EQ(mapRows(), Lines{"employee|Bob Jones|Jones, Bob"});
    }
    {
        // Two names at once: both entries, or (one refused) neither.
        NameChoice c(t.log, *cn, {NameKind::PayType, "Hourly", {"Reg", "Hourly Wage"}, ""},
                     {{"Hourly Wage", true}, {"Salary", true}});
        c.select(0);
        c.okClicked();
        EXPECT_FALSE(c.stored());
        c.select(1);
        c.okClicked();
        EXPECT_TRUE(c.stored());
        EXPECT_EQ(mapRows(), (Lines{"employee|Bob Jones|Jones, Bob", "pay type|Hourly Wage|Salary",
                                    "pay type|Reg|Salary"}));
    }
}

TEST_F(NameMapLogicFixture, NameMapListOrdersRowsMarksSharedNamesAndShowsDamagedRows) {
    stage::storeNameMapping(*cn, NameKind::PayType, "Regular", "Hourly");
    stage::storeNameMapping(*cn, NameKind::Employee, "bob jones", "Robert Jones");
    stage::storeNameMapping(*cn, NameKind::Employee, "Badge 7", "ROBERT JONES");
    stage::storeNameMapping(*cn, NameKind::Employee, "Ann", "Ann Lee");
    cn->execute(
        "insert into NameMap (Kind, ChronelName, QuickBooksName) values ('boss', 'X', 'Y'),"
        " ('employee', 'Same', 'same'), ('pay type', 'Tips', NULL)");

    NameMapList list(*cn);
    EXPECT_EQ(table(list),
              (Lines{"employee|Ann|Ann Lee|",
                     "employee|Badge 7|ROBERT JONES|Shares ROBERT JONES with bob jones",
                     "employee|bob jones|Robert Jones|Shares Robert Jones with Badge 7",
                     "employee|Same|same|Damaged, not applied: row 6 of NameMap: \"Same\" cannot "
                     "be mapped to itself.",
                     "pay type|Regular|Hourly|",
                     "pay type|Tips||Damaged, not applied: row 7 of NameMap: its QuickBooksName "
                     "is not text.",
                     "boss|X|Y|Damaged, not applied: row 5 of NameMap: its Kind is \"boss\", not "
                     "\"employee\" or \"pay type\"."}));
    EXPECT_EQ(list.summaryLine(), "7 entries, 3 of them damaged and not applied.");
    EXPECT_TRUE(list.canChange(0));
    EXPECT_FALSE(list.canChange(3));
    EXPECT_FALSE(list.canChange(7));
    EXPECT_EQ(list.text(7, 0), "");
    EXPECT_EQ(list.removeQuestion(2),
              "Remove the map entry of the employee bob jones (staged as Robert Jones)? bob "
              "jones is then staged as the time-and-attendance system spells it.");
    EXPECT_EQ(list.removeQuestion(6),
              "Remove the damaged row 5 of the name map (row 5 of NameMap: its Kind is \"boss\", "
              "not \"employee\" or \"pay type\")?");

    // A damaged row is removed by its number, one row alone.
    EXPECT_TRUE(stage::removeNameMapRow(*cn, 5));
    EXPECT_FALSE(stage::removeNameMapRow(*cn, 5));
    list.reload();
    EXPECT_EQ(list.rowCount(), 6u);

    cn->execute("delete from NameMap");
    list.reload();
    EXPECT_EQ(list.summaryLine(),
              "The name map is empty: every name is staged as the time-and-attendance system "
              "spells it.");
}

TEST_F(NameMapLogicFixture, NameMapListThatCannotBeReadIsLoggedAndNotOpened) {
    cn->execute("drop table NameMap");
    EXPECT_EQ(openNameMapList(t.log, state), nullptr);
    EXPECT_NE(t.logText().find("NameMap"), std::string::npos);
    ProgramState closed;
    EXPECT_EQ(openNameMapList(t.log, closed), nullptr);
    EXPECT_NE(t.logText().find("The interface database is not open."), std::string::npos);
}

}  // namespace
}  // namespace vantrell
