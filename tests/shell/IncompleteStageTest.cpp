#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

#include "shell/CliFixture.h"

namespace vantrell {
namespace {

using testing::CliRun;
using testing::linesOf;
using Lines = std::vector<std::string>;

// A stage that the extraction could not complete holds part of the payroll: it is never
// offered for export, and the list says why.
struct IncompleteStage : testing::CliFixture {
    void SetUp() override { writeSmallData({"Worker One", "Worker Two"}); }
};

TEST_F(IncompleteStage, ARunThatStopsAtABadHoursValueOffersNothing) {
    runOnChronel("insert into REPORTDATA values ('Worker Two', '2026-03-02', NULL, 0, 0, NULL, 0)");
    const CliRun run = cliWithFiles({"--export"});
    EXPECT_EQ(run.status, 2) << run.err;
    EXPECT_EQ(linesOf(run.out),
              (Lines{"The time data could not be read completely: the extraction stopped at "
                     "\"Worker Two\" on 2026-03-02; see VantrellLog.txt.",
                     "", "There are 1 issues requiring resolution."}));
    EXPECT_NE(programFile("VantrellLog.txt").find("GetChronelData"), std::string::npos);
    EXPECT_EQ(postedTickets(), Lines{});
}

TEST_F(IncompleteStage, ADayThatCannotBeStagedIsNamed) {
    const std::string longName(51, 'N');
    runOnChronel("insert into REPORTDATA values ('" + longName +
                 "', '2026-03-04', 8, 1, 0, NULL, 0)");
    const CliRun run = cliWithFiles({"--export"});
    EXPECT_EQ(run.status, 2) << run.err;
    EXPECT_EQ(linesOf(run.out),
              (Lines{"The time data could not be read completely: \"" + longName +
                         "\" on 2026-03-04 could not be staged; see VantrellLog.txt.",
                     "", "There are 1 issues requiring resolution."}));
    EXPECT_EQ(postedTickets(), Lines{});
    EXPECT_NE(programFile("VantrellLog.txt")
                  .find(": the name \"" + longName +
                        "\" on 2026-03-04 is 51 characters, longer than 50\r\n Reg RGSTD\r\n"),
              std::string::npos);
}

// A non-worked day whose code cannot be read against the accrual titles and the holiday pay type
// (no titles row, a Null title, a Null holiday pay type) leaves its hours out of the stage: that
// day is an issue, and nothing of the period is posted.
struct UncodedCase {
    const char* code;
    const char* change;
};

class UncodedNonWorkedDay : public IncompleteStage,
                            public ::testing::WithParamInterface<UncodedCase> {};

TEST_P(UncodedNonWorkedDay, IsNamedAndNothingIsOffered) {
    runOnChronel(std::string("insert into REPORTDATA values ('Worker One', '2026-03-03', 8, 0, 0, "
                             "'") +
                 GetParam().code + "', 0)");
    runOnChronel(GetParam().change);
    const CliRun run = cliWithFiles({"--export"});
    EXPECT_EQ(run.status, 2) << run.err;
    EXPECT_EQ(linesOf(run.out),
              (Lines{"The time data could not be read completely: \"Worker One\" on 2026-03-03 "
                     "could not be staged; see VantrellLog.txt.",
                     "", "There are 1 issues requiring resolution."}));
    EXPECT_NE(programFile("VantrellLog.txt").find("strNonWkdCode"), std::string::npos);
    EXPECT_EQ(postedTickets(), Lines{});
}

INSTANTIATE_TEST_SUITE_P(
    Titles, UncodedNonWorkedDay,
    ::testing::Values(UncodedCase{"Vacation", "delete from TCRULES"},
                      UncodedCase{"Vacation", "update TCRULES set A1TITLE = NULL"},
                      UncodedCase{"Holiday", "update EXPORTDFN set HOSTD = NULL"}));

// The stage of an earlier run (whose hours may have been corrected since) is never offered
// when the time-and-attendance file cannot be read now.
TEST_F(IncompleteStage, AnUnreadableFileNeverOffersTheEarlierStage) {
    CliRun run = cliWithFiles();
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_EQ(linesOf(run.out), Lines{"Click Export to post your time tickets in QuickBooks."});

    sandbox.write("ChronelV7.mde", std::string(4096, 'x'));
    run = cli({"--data-dir", data, "--export"});
    EXPECT_EQ(run.status, 2) << run.err;
    const Lines shown = linesOf(run.out);
    EXPECT_NE(std::find(shown.begin(), shown.end(),
                        "The time data could not be read completely; see VantrellLog.txt."),
              shown.end())
        << run.out;
    EXPECT_EQ(postedTickets(), Lines{});
}

}  // namespace
}  // namespace vantrell
