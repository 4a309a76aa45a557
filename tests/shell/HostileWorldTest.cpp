#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "interfacedb/Catalog.h"
#include "interfacedb/Connection.h"
#include "interfacedb/ConnectionString.h"
#include "shell/ChronelFixture.h"
#include "shell/CliFixture.h"

namespace vantrell {
namespace {

using testing::CliRun;
using testing::linesOf;
using Lines = std::vector<std::string>;

constexpr const char* kTimeDataUnread =
    "The time data could not be read completely; see VantrellLog.txt.";

// What a careless or unlucky user does to the program's files: each ends with a clear error,
// never a hang or a start that cannot recover. Runs are cut off after a minute, so that a hang
// fails the test instead of the suite.
struct HostileWorld : testing::CliFixture {
    void SetUp() override {
        wrapper = "timeout 60";
        writeSmallData({"Worker One"});
    }

    // Starts vantrell-cli on a program folder of its own and kills it after `milliseconds`.
    void startAndKill(const std::string& folder, int milliseconds) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            setenv("XDG_CONFIG_HOME", sandbox.file("config").c_str(), 1);
            unsetenv("VANTRELL_DATA_DIR");
            freopen("/dev/null", "w", stdout);
            freopen("/dev/null", "w", stderr);
            execl(VANTRELL_CLI_PATH, "vantrell-cli", "--data-dir", folder.c_str(), "--chronel",
                  chronel.c_str(), "--company", company.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        usleep(static_cast<useconds_t>(milliseconds) * 1000);
        kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
    }
};

TEST_F(HostileWorld, AFirstStartKilledAtAnyMomentNeverBlocksTheNext) {
    for (int milliseconds = 0; milliseconds <= 60; milliseconds += 4) {
        const std::string folder = sandbox.file("start" + std::to_string(milliseconds)).string();
        startAndKill(folder, milliseconds);
        const CliRun run = cli({"--data-dir", folder, "--chronel", chronel, "--company", company});
        EXPECT_EQ(run.status, 0) << "killed after " << milliseconds << " ms: " << run.err;
        EXPECT_EQ(linesOf(run.out), Lines{"Click Export to post your time tickets in QuickBooks."})
            << "killed after " << milliseconds << " ms";
    }
}

TEST_F(HostileWorld, AnEmptyTimeDataFileIsStillRefused) {
    sandbox.write("ChronelV7.mde", "");
    const CliRun run = cliWithFiles({"--export"});
    EXPECT_EQ(run.status, 2) << run.err;
    EXPECT_NE(run.err.find("is empty: it holds no database"), std::string::npos) << run.err;
    EXPECT_EQ(linesOf(run.out).front(), kTimeDataUnread);
}

TEST_F(HostileWorld, ARecursiveViewIsRefusedNamingTheFile) {
    const std::string looping = sandbox.file("Looping.mde").string();
    testing::writeSmallChronelFile(looping, "Worker One");
    {
        db::Connection cn;
        cn.open(db::connectionStringFor(looping));
        cn.execute("DROP TABLE REPORTDATA");
        cn.execute(
            "CREATE VIEW REPORTDATA AS WITH RECURSIVE r(n) AS (SELECT 1 UNION ALL SELECT n + 1 "
            "FROM r) SELECT 'Worker One' AS \"FULL NAME\", '2026-03-02' AS ADJUSTEDDATE, 8 AS PST, "
            "0 AS POT1, 0 AS POT2, NULL AS NONWORKED, 0 AS USEDIFF FROM r");
    }
    const CliRun run =
        cli({"--data-dir", data, "--chronel", looping, "--company", company, "--export"});
    EXPECT_EQ(run.status, 2) << run.err;
    EXPECT_NE(run.err.find("'" + looping + "' holds views or triggers"), std::string::npos)
        << run.err;
    EXPECT_EQ(linesOf(run.out).front(), kTimeDataUnread);
    EXPECT_EQ(postedTickets(), Lines{});
}

TEST_F(HostileWorld, LogAndTraceFilesThatAreFifosNeverBlock) {
    std::filesystem::create_directories(data);
    ASSERT_EQ(mkfifo((data + "/VantrellLog.txt").c_str(), 0600), 0);
    ASSERT_EQ(mkfifo((data + "/ResolveReq.txt").c_str(), 0600), 0);
    const CliRun run = cliWithFiles({"--export"});
    EXPECT_EQ(run.status, 2) << run.err;
    // The trace cannot be written, so the query is not sent; the box still tells why.
    EXPECT_NE(run.err.find("ResolveReq.txt' for writing: it is not an ordinary file."),
              std::string::npos)
        << run.err;
    EXPECT_EQ(linesOf(run.out),
              (Lines{"The names could not be checked against QuickBooks; see VantrellLog.txt.", "",
                     "There are 1 issues requiring resolution."}));
}

}  // namespace
}  // namespace vantrell
