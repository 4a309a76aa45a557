#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/CliFixture.h"

namespace vantrell {
namespace {

using testing::CliRun;
using testing::linesOf;
using Lines = std::vector<std::string>;

// The names that keep an export back are those of the tickets still staged after the check of
// what the accounting system holds already.
struct StageAfterCheck : testing::CliFixture {
    void SetUp() override {
        writeSmallData({"Worker One", "Worker Two"});
        const CliRun first = cliWithFiles({"--export"});
        ASSERT_EQ(first.status, 0) << first.err;
        ASSERT_EQ(postedTickets().size(), 1u);
        // Worker One has left since: the accounting system no longer lists them as active.
        qbsim({"set-inactive", company, "Worker One"});
        runOnChronel(
            "insert into REPORTDATA values ('Worker Two', '2026-03-03', 7, 0, 0, NULL, 0)");
    }
};

TEST_F(StageAfterCheck, ANameWhoseTicketsAreAllPostedIsNoIssue) {
    const CliRun run = cliWithFiles({"--export"});
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    const Lines posted = postedTickets();
    ASSERT_EQ(posted.size(), 2u);
    EXPECT_NE(posted[0].find("Worker One"), std::string::npos) << posted[0];
    EXPECT_NE(posted[1].find("Worker Two"), std::string::npos) << posted[1];
}

TEST_F(StageAfterCheck, ANameWithATicketStillStagedStaysAnIssue) {
    runOnChronel("insert into REPORTDATA values ('Worker One', '2026-03-04', 6, 0, 0, NULL, 0)");
    const CliRun run = cliWithFiles({"--export"});
    EXPECT_EQ(run.status, 2) << run.out << run.err;
    const Lines shown = linesOf(run.out);
    ASSERT_FALSE(shown.empty()) << run.out;
    EXPECT_EQ(shown.front(), "Missing Employee Worker One");
    EXPECT_EQ(postedTickets().size(), 1u);
}

}  // namespace
}  // namespace vantrell
