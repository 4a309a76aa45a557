#include <gtest/gtest.h>

#include <limits>

#include "ExtractionFixture.h"
#include "diag/Failure.h"
#include "extract/Extraction.h"

namespace vantrell {
namespace {

using sampledata::AccrualTitles;
using sampledata::Cell;
using testing::kStamp;
using Rows = std::vector<std::string>;

using ExtractionFailureTest = testing::ExtractionFixture;

struct BadHours {
    Cell value;
    const char* description;
};

struct BadHoursTest : testing::ExtractionFixture, ::testing::WithParamInterface<BadHours> {};

TEST_P(BadHoursTest, EndTheRunAtThatDayAndKeepThePreviousNames) {
    addStandardSetup();
    chronel.add(day("Ann", "2024-05-06", 8));
    chronel.add(day("Zed", "2024-05-06", 8));
    run();
    chronel.execute("DELETE FROM REPORTDATA");
    chronel.add(day("Bob", "2024-05-06", 8, 1));
    chronel.add(day("Cal", "2024-05-06", 8, GetParam().value));
    chronel.add(day("Dan", "2024-05-06", 8));
    run();
    EXPECT_EQ(punch(), (Rows{"1|Bob|2024-05-06|8|Pay RGSTD", "2|Bob|2024-05-06|1|Pay RGOT1"}));
    EXPECT_EQ(names("Employee"), (Rows{"Ann", "Zed"}));
    EXPECT_EQ(names("PayType"), Rows{"Pay RGSTD"});
    EXPECT_EQ(t.logText(),
              std::string(kStamp) + "GetChronelData " + GetParam().description + "\r\n \r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Extraction, BadHoursTest,
    ::testing::Values(
        BadHours{Cell(),
                 "Invalid use of Null: the hours POT1 of \"Cal\" on 2024-05-06 are empty (Null)"},
        BadHours{std::numeric_limits<double>::quiet_NaN(),
                 "Invalid use of Null: the hours POT1 of \"Cal\" on 2024-05-06 are empty (Null)"},
        BadHours{"one and a half",
                 "Type mismatch: the hours POT1 of \"Cal\" on 2024-05-06 are \"one and a half\", "
                 "not a number"},
        BadHours{std::numeric_limits<double>::infinity(),
                 "Overflow: the hours POT1 of \"Cal\" on 2024-05-06 are too large (inf)"},
        BadHours{1e300,
                 "Overflow: the hours POT1 of \"Cal\" on 2024-05-06 are too large (1e+300)"}));

TEST_F(ExtractionFailureTest, TooLongNameFailsEachOfItsRowsAndOthersAreStored) {
    addStandardSetup();
    const std::string longest = "Mar " + std::string(46, 'y');
    const std::string tooLong = "Mar " + std::string(47, 'z');
    chronel.add(day("Ann", "2024-05-06", 8));
    chronel.add(day(tooLong, "2024-05-06", 8, 1));
    chronel.add(day(longest, "2024-05-06", 8));
    chronel.add(day("Zoe", "2024-05-06", 8));
    run();
    EXPECT_EQ(punch(),
              (Rows{"1|Ann|2024-05-06|8|Pay RGSTD", "2|" + longest + "|2024-05-06|8|Pay RGSTD",
                    "5|Zoe|2024-05-06|8|Pay RGSTD"}));
    EXPECT_EQ(names("Employee"), (Rows{"Ann", longest, "Zoe"}));
    ASSERT_EQ(t.prompter.shown.size(), 2u);
    EXPECT_EQ(t.prompter.shown[0].text.substr(0, 16), "Reg RGSTD\r\nThe f");
    EXPECT_EQ(t.prompter.shown[1].text.substr(0, 16), "OT1 RGOT1\r\nThe f");
    EXPECT_EQ(t.prompter.shown[1].text.substr(t.prompter.shown[1].text.size() - 18),
              "\r\nCreateWorkRecord");
}

TEST_F(ExtractionFailureTest, EmptyTitlesTableDropsEachNonWorkedDayWithItsCode) {
    chronel.add(standardExport());
    chronel.add(day("Ann", "2024-05-06", 8));
    chronel.add(day("Ann", "2024-05-07", 8, 0, 0, "VAC"));
    chronel.add(day("Ann", "2024-05-08", 8, 0, 0, "HOL"));
    run();
    EXPECT_EQ(punch(), Rows{"1|Ann|2024-05-06|8|Pay RGSTD"});
    EXPECT_EQ(names("PayType"), Rows{"Pay RGSTD"});
    const std::string noRow =
        "Either BOF or EOF is True, or the current record has been deleted. Requested operation "
        "requires a current record.";
    EXPECT_EQ(t.logText(), std::string(kStamp) + "strNonWkdCode " + noRow + "\r\n VAC\r\n" +
                               kStamp + "strNonWkdCode " + noRow + "\r\n HOL\r\n");
}

TEST_F(ExtractionFailureTest, MissingDefinitionWritesTheNoteAndEndsTheProgram) {
    auto definition = standardExport();
    definition.exportName = "Payroll Summary";
    chronel.add(definition);
    chronel.add(day("Ann", "2024-05-06", 8));
    open();
    executeOnInterface(
        "insert into Punch (Sequence, Name, PayType, Posted) "
        "values (7, 'Left', 'Hourly', false)");
    EXPECT_THROW(GetChronelData(t.log, interfaceDb, state), EndProgram);
    EXPECT_EQ(t.logText(), std::string(kStamp) +
                               "GetChronelData The export definitions have not been "
                               "established in Chronel.\r\n");
    ASSERT_EQ(t.prompter.shown.size(), 1u);
    EXPECT_EQ(t.prompter.shown[0].title, "NOTE");
    EXPECT_EQ(names("Punch"), Rows{"Left"});
}

TEST_F(ExtractionFailureTest, NoDaysLeaveAllThreeTablesEmpty) {
    addStandardSetup();
    open();
    executeOnInterface(
        "insert into Punch (Sequence, Name, PayType, Posted, Error) "
        "values (3, 'Ann', 'Hourly', true, 'Rejected')");
    executeOnInterface("insert into Employee (Name) values ('Ann')");
    executeOnInterface("insert into PayType (Name) values ('Hourly')");
    state.lngSequence = 12;
    run();
    EXPECT_EQ(punch(), Rows{});
    EXPECT_EQ(names("Employee"), Rows{});
    EXPECT_EQ(names("PayType"), Rows{});
    EXPECT_EQ(state.lngSequence, 12);
    EXPECT_EQ(t.logText(), "");
}

TEST_F(ExtractionFailureTest, MissingTableOrColumnEndsTheRunBeforeTheStageIsTouched) {
    const struct {
        const char* change;
        const char* description;
    } cases[] = {
        // Each change adds to the ones before; each breaks a query read earlier in the run.
        {"ALTER TABLE REPORTDATA DROP COLUMN USEDIFF", "no such column: USEDIFF"},
        {"DROP TABLE TCRULES", "no such table: TCRULES"},
        {"ALTER TABLE EXPORTDFN DROP COLUMN A3OT2", "no such column: A3OT2"},
    };
    addStandardSetup();
    chronel.add(day("Ann", "2024-05-06", 8));
    run();
    for (const auto& c : cases) {
        chronel.execute(c.change);
        t.sandbox.write("VantrellLog.txt", "");
        run();
        EXPECT_EQ(t.logText(),
                  std::string(kStamp) + "GetChronelData " + c.description + "\r\n \r\n");
        EXPECT_EQ(punch(), Rows{"1|Ann|2024-05-06|8|Pay RGSTD"}) << c.change;
        EXPECT_EQ(names("Employee"), Rows{"Ann"});
    }
}

}  // namespace
}  // namespace vantrell
