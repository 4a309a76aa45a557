#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "interfacedb/Connection.h"
#include "interfacedb/ConnectionString.h"
#include "shell/ChronelFixture.h"
#include "shell/CliFixture.h"
#include "support/DemoCompany.h"
#include "support/Sandbox.h"

namespace vantrell {
namespace {

using testing::CliRun;
using testing::linesOf;

// The demo time-and-attendance file and a company file that knows every staged name but the
// last employee.
struct CliEndToEnd : testing::CliFixture {
    void SetUp() override { writeDemoData(); }
};

TEST_F(CliEndToEnd, IssueThenExportOfTheDemoData) {
    const std::string missing = employees.back();
    CliRun run = cliWithFiles();
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(linesOf(run.out),
              (std::vector<std::string>{"Missing Employee " + missing, "",
                                        "There are 1 issues requiring resolution."}));
    EXPECT_EQ(run.err, "");

    run = cliWithFiles({"--export"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(qbsim({"list-time", company}), "");

    qbsim({"add-employee", company, missing});
    // The locations are remembered: no file options needed any more.
    run = cli({"--data-dir", data, "--export"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(linesOf(run.out),
              (std::vector<std::string>{"Click Export to post your time tickets in QuickBooks.", "",
                                        "Export complete."}));
    const auto posted = linesOf(qbsim({"list-time", company}));
    EXPECT_GT(posted.size(), 50u);
    EXPECT_NE(qbsim({"list-time", company}).find(missing), std::string::npos);

    // Trace files: the query, the export and its response; RawData holds the query sent before.
    EXPECT_EQ(programFile("ResolveReq.txt").rfind("\"<?xml version='1.0' ?>", 0), 0u);
    EXPECT_EQ(programFile("RawData.txt"), programFile("ResolveReq.txt"));
    EXPECT_EQ(programFile("PunchReq.txt").rfind("\"<?xml version=\"1.0\" ?><!DOCTYPE QBXML", 0),
              0u);
    EXPECT_NE(programFile("PunchResp.txt").find("TimeTrackingAddRs"), std::string::npos);
    EXPECT_NE(programFile("ResolveResp.txt").find("EmployeeQueryRs"), std::string::npos);
    EXPECT_EQ(programFile("VantrellLog.txt"), "");
}

TEST_F(CliEndToEnd, RefusedTicketsStayWithTheirMessage) {
    // A correction of -1.5 hours stages a ticket whose duration the accounting system refuses;
    // stopping on that error, it processes nothing after it.
    const std::string other = sandbox.file("Corrections.mde").string();
    testing::writeSmallChronelFile(other, "Worker One");
    {
        db::Connection cn;
        cn.open(db::connectionStringFor(other));
        cn.execute(
            "insert into REPORTDATA values ('Worker One', '2026-03-03', -1.5, 0, 0, NULL, 0)");
        cn.execute(
            "insert into REPORTDATA values ('Worker One', '2026-03-04', 7.5, 0, 0, NULL, 0)");
    }
    qbsim({"add-employee", company, "Worker One"});
    ASSERT_NE(std::find(wageItems.begin(), wageItems.end(), "Hourly"), wageItems.end());
    const CliRun run =
        cli({"--data-dir", data, "--chronel", other, "--company", company, "--export"});
    EXPECT_EQ(run.status, 3) << run.err;
    // The window's list says what stayed, as standard error does ticket by ticket.
    const auto shown = linesOf(run.out);
    ASSERT_EQ(shown.size(), 5u) << run.out;
    EXPECT_EQ(shown[2], "Export complete.");
    EXPECT_EQ(shown[3].rfind("Refused: Worker One, 2026-03-03, Hourly, -1.5 hours: ", 0), 0u)
        << shown[3];
    EXPECT_EQ(shown[4],
              "1 more time ticket was not processed: QuickBooks stopped at the refusal. It stays "
              "staged.");
    const auto left = linesOf(run.err);
    ASSERT_EQ(left.size(), 2u) << run.err;
    EXPECT_EQ(
        left[0].rfind("Not posted: ticket 2 (Worker One, 2026-03-03, -1.5 hours, Hourly): ", 0),
        0u);
    EXPECT_EQ(left[1],
              "Not posted: ticket 3 (Worker One, 2026-03-04, 7.5 hours, Hourly): The "
              "request has not been processed.");
    EXPECT_EQ(linesOf(qbsim({"list-time", company})).size(), 1u);  // the ticket before it
}

TEST_F(CliEndToEnd, ProgramEndsEarlyWhenAFileIsNotLocatedOrTheSessionIsRefused) {
    CliRun run = cli({"--data-dir", data});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              "It is necessary to specify your Chronel application.  Click OK to locate "
              "ChronelV7.mde.\n");
    EXPECT_EQ(run.out, "");

    run = cli({"--data-dir", data, "--chronel", sandbox.file("missing.mde").string()});
    EXPECT_EQ(run.status, 1);
    run = cli({"--data-dir", data, "--chronel", chronel});  // stored now; company still missing
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              "It is necessary to specify your QuickBooks data.  Click OK to locate your data.\n");

    run = cli({"--data-dir", data, "--company", chronel});  // exists, but is no company file
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.rfind("ERROR: begin a session at " + chronel + "\r\n", 0), 0u) << run.err;
    EXPECT_NE(run.err.find("\r\nOpenQBConnection\n"), std::string::npos);
}

TEST_F(CliEndToEnd, MissingExportDefinitionEndsTheProgramWithItsNote) {
    const std::string other = sandbox.file("Other.mde").string();
    testing::writeSmallChronelFile(other, "Worker One");
    {
        db::Connection cn;
        cn.open(db::connectionStringFor(other));
        cn.execute("update EXPORTDFN set ExportName='Another Export'");
    }
    const CliRun run =
        cli({"--data-dir", data, "--chronel", other, "--company", company, "--export"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "NOTE: The export definitions have not been established in Chronel.\n");
    EXPECT_EQ(run.out, "");
    EXPECT_NE(programFile("VantrellLog.txt")
                  .find("GetChronelData The export definitions have not been established in "
                        "Chronel.\r\n"),
              std::string::npos);
}

TEST(CliOptions, UnknownOptionsAndProcessorsAreRefused) {
    testing::Sandbox sandbox;
    const std::string command = std::string(VANTRELL_CLI_PATH) + " --bogus >/dev/null 2>&1";
    EXPECT_EQ(WEXITSTATUS(std::system(command.c_str())), 64);
    const std::string processor = "XDG_CONFIG_HOME=" + sandbox.path().string() + " " +
                                  VANTRELL_CLI_PATH + " --data-dir " + sandbox.path().string() +
                                  " --processor com >/dev/null 2>&1";
    EXPECT_EQ(WEXITSTATUS(std::system(processor.c_str())), 64);
    // An empty folder is no folder, not the executable's own; the journal's commands go alone.
    for (const char* arguments :
         {" --data-dir ''", " --export --undo-export 1", " --list-exports --undo-export 1",
          " --undo-export", " --show-export 1 --review"}) {
        const std::string refused = "XDG_CONFIG_HOME=" + sandbox.path().string() + " " +
                                    VANTRELL_CLI_PATH + arguments + " >/dev/null 2>&1";
        EXPECT_EQ(WEXITSTATUS(std::system(refused.c_str())), 64) << arguments;
    }
}

}  // namespace
}  // namespace vantrell
