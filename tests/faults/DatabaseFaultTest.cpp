#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <ostream>

#include "ChildProcess.h"
#include "FaultFixture.h"
#include "FaultyVfs.h"
#include "interfacedb/Connection.h"
#include "interfacedb/ConnectionString.h"
#include "shell/window/IssueList.h"

namespace vantrell::testing {
namespace {

using Fault = FaultyVfs::Fault;

class DatabaseFaults : public ProgramFixture {
  protected:
    DatabaseFaults() : vfs(FaultyVfs::install()) { writeChronel(usualDays()); }
    ~DatabaseFaults() override { vfs.disarm(); }

    bool errorShown() const {
        return std::any_of(t.prompter.shown.begin(), t.prompter.shown.end(),
                           [](const auto& box) { return box.title == "ERROR"; });
    }

    // Every staged row is one of the usual rows, whole: nothing half-written or foreign.
    void expectOnlyUsualRows() const {
        const Strings usual = usualPunch();
        for (const auto& row : punch()) {
            EXPECT_NE(std::find(usual.begin(), usual.end(), row), usual.end()) << row;
        }
    }

    // A new window on the same program folder, as the next run of the program has.
    void restart() {
        if (window) {
            unload();
        }
        window.reset();
        state = ProgramState{};
        controls.lines.clear();
    }

    FaultyVfs& vfs;
};

struct WriteFault {
    Fault fault;
    int nth;
};

std::ostream& operator<<(std::ostream& out, const WriteFault& f) {
    return out << (f.fault == Fault::IoError ? "I/O error" : "disk full") << " from write "
               << f.nth;
}

class FailingExtractionWrites : public DatabaseFaults,
                                public ::testing::WithParamInterface<WriteFault> {};
class FailingExportWrites : public DatabaseFaults,
                            public ::testing::WithParamInterface<WriteFault> {};

TEST_P(FailingExtractionWrites, AreLoggedAndTheNextRunRebuildsTheStage) {
    qb.responses = {usualResolution(), usualResolution()};
    ASSERT_TRUE(load());
    vfs.failWrites(GetParam().fault, GetParam().nth, "Vantrell.mdb");
    activate();
    vfs.disarm();

    EXPECT_TRUE(errorShown()) << logText();
    // Each failure is reported by the step that met it, and the activation goes on.
    const Strings reporters = {
        "GetChronelData", "CreateWorkRecord",
        "in ParseResponseXML : EmployeeRet : examine each child object",
        "in ParseResponseXML : PayrollItemWageRet : examine each child object"};
    for (const auto& box : t.prompter.shown) {
        const std::string procedure = box.text.substr(box.text.rfind('\n') + 1);
        EXPECT_NE(std::find(reporters.begin(), reporters.end(), procedure), reporters.end())
            << box.text;
    }
    EXPECT_FALSE(controls.lines.empty()) << "the activation did not go on to the issue list";
    EXPECT_EQ(integrity(), "ok");
    expectOnlyUsualRows();

    activate();
    EXPECT_EQ(punch(), usualPunch());
    EXPECT_EQ(employees(), Strings{});
    EXPECT_EQ(controls.lines, Strings{"Click Export to post your time tickets in QuickBooks."});
}

TEST_P(FailingExportWrites, KeepTheTicketsNotYetDeleted) {
    ASSERT_TRUE(load());
    activate();
    ASSERT_EQ(punch(), usualPunch());
    const std::size_t sentBefore = qb.requests.size();
    vfs.failWrites(GetParam().fault, GetParam().nth, "Vantrell.mdb");
    clickExport();
    vfs.disarm();

    // An export whose journal record cannot be written is not sent at all.
    if (qb.requests.size() == sentBefore) {
        EXPECT_TRUE(logged("cmdExport_Click")) << logText();
        EXPECT_EQ(punch(), usualPunch());
        EXPECT_EQ(integrity(), "ok");
        return;
    }
    EXPECT_TRUE(logged("in ParseResponseXML : TimeTrackingRet : Process Time Tracking Return"))
        << logText();
    EXPECT_EQ(integrity(), "ok");
    // The answer is applied under one commit: when it fails, every ticket stays staged.
    const Strings left = punch();
    const Strings usual = usualPunch();
    ASSERT_FALSE(left.empty());
    EXPECT_TRUE(std::equal(left.rbegin(), left.rend(), usual.rbegin())) << left.front();

    // The accounting system's answer can be applied again once the file takes writes.
    window->link().ParseResponseXML("TimeTrackingAddRs", "TimeTrackingRet");
    EXPECT_EQ(punch(), Strings{});
}

// When the names left cannot be read, what an earlier listing allowed no longer holds: Export is
// disabled until a listing is complete again.
TEST_F(DatabaseFaults, ANameListThatCannotBeReadLeavesExportDisabled) {
    ASSERT_TRUE(load());
    activate();
    ASSERT_TRUE(controls.enabled[WindowButton::Export]);

    state.interfaceDb.cnInterface->close();
    ShowIssues(t.log, window->link(), controls);
    EXPECT_TRUE(logged("ShowIssues")) << logText();
    EXPECT_FALSE(controls.enabled[WindowButton::Export]);
}

// A write that SQLite cannot make while the stage is rebuilt (here: the cache, made small, spills
// to a file that is full once) makes SQLite roll the run's transaction back by itself. The run
// ends there as a failure: none of its later rows is committed on top of the old stage, and
// the stage is not offered.
TEST_F(DatabaseFaults, ARunThatSqliteRollsBackEndsThereAndKeepsTheOldStage) {
    std::remove(chronelPath.c_str());
    std::vector<sampledata::Day> days;
    for (int day = 1; day <= 28; ++day) {
        for (int worker = 0; worker < 100; ++worker) {
            const std::string date =
                "2026-02-" + std::string(day < 10 ? "0" : "") + std::to_string(day);
            days.push_back({"Worker " + std::to_string(worker), date, 8.0, 0.0, 0.0, {}, 0});
        }
    }
    writeChronel(days);
    ASSERT_TRUE(load());
    activate();
    const Strings before = punch();
    ASSERT_EQ(before.size(), days.size());

    // The next run has more to stage than the last one held.
    {
        db::Connection chronel;
        chronel.open(db::connectionStringFor(chronelPath));
        chronel.execute(
            "insert into REPORTDATA select \"FULL NAME\", '2026-03-01', PST, POT1, "
            "POT2, NONWORKED, USEDIFF from REPORTDATA where ADJUSTEDDATE like "
            "'2026-02-01%'");
    }
    state.interfaceDb.cnInterface->execute("PRAGMA cache_size=10");
    // Past the writes that empty the old stage, so that the failure meets a row being added.
    vfs.failWrites(Fault::DiskFull, 120, "Vantrell.mdb", 1);
    activate();
    const int failedWrites = vfs.writesSeen();
    vfs.disarm();

    ASSERT_GE(failedWrites, 120) << "the cache never spilled";
    ASSERT_TRUE(logged("CreateWorkRecord")) << logText();
    EXPECT_TRUE(logged("GetChronelData")) << logText();
    EXPECT_EQ(punch(), before);
    EXPECT_EQ(integrity(), "ok");
    EXPECT_FALSE(controls.enabled[WindowButton::Export]);
    EXPECT_NE(std::find_if(controls.lines.begin(), controls.lines.end(),
                           [](const std::string& line) {
                               return line.rfind("The time data could not be read completely", 0) ==
                                      0;
                           }),
              controls.lines.end());
}

// From the first write on, and from later ones, so that the failure meets different steps.
INSTANTIATE_TEST_SUITE_P(
    Faults, FailingExtractionWrites,
    ::testing::Values(WriteFault{Fault::IoError, 1}, WriteFault{Fault::IoError, 2},
                      WriteFault{Fault::IoError, 5}, WriteFault{Fault::IoError, 9},
                      WriteFault{Fault::DiskFull, 1}, WriteFault{Fault::DiskFull, 4},
                      WriteFault{Fault::DiskFull, 12}));
// The first writes record the export in the journal, the later ones apply the answer.
INSTANTIATE_TEST_SUITE_P(
    Faults, FailingExportWrites,
    ::testing::Values(WriteFault{Fault::IoError, 1}, WriteFault{Fault::IoError, 2},
                      WriteFault{Fault::IoError, 4}, WriteFault{Fault::IoError, 6},
                      WriteFault{Fault::DiskFull, 1}, WriteFault{Fault::DiskFull, 3},
                      WriteFault{Fault::DiskFull, 5}));

TEST_F(DatabaseFaults, AReadOnlyFileIsReportedAndKeepsItsStage) {
    ASSERT_TRUE(load());
    activate();
    restart();

    vfs.openReadOnly("Vantrell.mdb");
    qb.responses = {usualResolution()};
    ASSERT_TRUE(load());
    activate();
    EXPECT_TRUE(logged("GetChronelData")) << logText();
    EXPECT_NE(logText().find("readonly"), std::string::npos) << logText();
    EXPECT_FALSE(controls.lines.empty());
    restart();
    vfs.disarm();

    EXPECT_EQ(integrity(), "ok");
    EXPECT_EQ(punch(), usualPunch());
    qb.responses = {usualResolution()};
    ASSERT_TRUE(load());
    activate();
    EXPECT_EQ(punch(), usualPunch());
    EXPECT_EQ(controls.lines, Strings{"Click Export to post your time tickets in QuickBooks."});
}

TEST_F(DatabaseFaults, AFileLockedByAnotherProcessIsReportedAndTheNextRunWorks) {
    ASSERT_TRUE(load());
    activate();
    restart();

    const std::string path = interfaceDb();
    sqlite3* other = nullptr;
    HoldingChild locker(
        [&] {
            if (sqlite3_open_v2(path.c_str(), &other, SQLITE_OPEN_READWRITE, nullptr) !=
                    SQLITE_OK ||
                sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK) {
                throw std::runtime_error("no lock");
            }
        },
        [&] {
            sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
            sqlite3_close(other);
        });
    ASSERT_TRUE(locker.holding());

    // No name comes back, so the resolution itself writes nothing and waits for nothing.
    qb.responses = {resolutionResponse({}, {})};
    ASSERT_TRUE(load());
    activate();
    EXPECT_TRUE(logged("GetChronelData")) << logText();
    EXPECT_NE(logText().find("database is locked"), std::string::npos) << logText();
    EXPECT_FALSE(controls.lines.empty());
    EXPECT_EQ(locker.release().status, 0);

    EXPECT_EQ(integrity(), "ok");
    EXPECT_EQ(punch(), usualPunch());
    qb.responses.push_back(usualResolution());
    activate();
    EXPECT_EQ(punch(), usualPunch());
    EXPECT_EQ(controls.lines, Strings{"Click Export to post your time tickets in QuickBooks."});
}

}  // namespace
}  // namespace vantrell::testing
