#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>

#include "ChildProcess.h"
#include "FaultFixture.h"
#include "FaultyVfs.h"
#include "standins/CompanyFile.h"
#include "standins/SimulatedRequestProcessor.h"

namespace vantrell::testing {
namespace {

// The program is killed (SIGKILL) in the middle of a write to the interface database, half of
// that write on disk: "Vantrell.mdb" must still pass SQLite's integrity check, hold only whole
// rows, and serve the next run. The killed copy runs in a child process; the test is the next run.
class CrashSafety : public ProgramFixture, public ::testing::WithParamInterface<int> {
  protected:
    static constexpr int kEmployees = 20;

    CrashSafety() : vfs(FaultyVfs::install()) {
        std::vector<sampledata::Day> days;
        Strings names;
        for (int i = 0; i < kEmployees; ++i) {
            names.push_back("Worker " + std::to_string(100 + i));
            days.push_back({names.back(), "2026-03-02", 8.0, 1.0, 0.0, {}, 0});
        }
        writeChronel(days);
        std::vector<std::pair<std::string, int>> accepted;
        for (int sequence = 1; sequence <= 2 * kEmployees; ++sequence) {
            accepted.emplace_back(std::to_string(sequence), 0);
            fullPunch.push_back(std::to_string(sequence) + "|" +
                                names[static_cast<std::size_t>((sequence - 1) / 2)] + "|" +
                                (sequence % 2 == 1 ? "Hourly" : "Overtime") + "|");
        }
        resolution = resolutionResponse(names, {"Hourly", "Overtime"});
        answer = exportResponse(accepted);
        qb.responses = {resolution, answer};
    }
    ~CrashSafety() override { vfs.disarm(); }

    // Runs `steps` as a copy of the program that gets SIGKILL at the chosen write.
    void killedDuring(const std::function<void()>& steps) {
        const ChildEnd end = runInChild([&] {
            ASSERT_TRUE(load());
            steps();
        });
        ASSERT_TRUE(end.signaled) << "the copy ended by itself with " << end.status;
        ASSERT_EQ(end.status, SIGKILL);
    }

    void expectOnlyWholeRows() const {
        for (const auto& row : punch()) {
            EXPECT_NE(std::find(fullPunch.begin(), fullPunch.end(), row), fullPunch.end()) << row;
        }
    }

    FaultyVfs& vfs;
    Strings fullPunch;
    std::string resolution;
    std::string answer;
};

TEST_P(CrashSafety, KilledDuringTheExtraction) {
    killedDuring([&] {
        vfs.failWrites(FaultyVfs::Fault::KillProcess, GetParam(), "Vantrell.mdb");
        activate();
    });

    EXPECT_EQ(integrity(), "ok");
    expectOnlyWholeRows();

    qb.responses = {resolution};
    ASSERT_TRUE(load());
    activate();
    EXPECT_EQ(punch(), fullPunch);
    EXPECT_EQ(controls.lines, Strings{"Click Export to post your time tickets in QuickBooks."});
    EXPECT_EQ(logText(), "");
}

TEST_P(CrashSafety, KilledWhileApplyingTheExportResponse) {
    killedDuring([&] {
        activate();
        vfs.failWrites(FaultyVfs::Fault::KillProcess, GetParam(), "Vantrell.mdb");
        clickExport();
    });

    EXPECT_EQ(integrity(), "ok");
    // The answer is applied under one commit: killed before it ends, every ticket is left.
    const Strings left = punch();
    EXPECT_FALSE(left.empty());
    EXPECT_TRUE(std::equal(left.rbegin(), left.rend(), fullPunch.rbegin()));

    // The next run applies the saved answer again and then works as usual.
    ASSERT_TRUE(load());
    window->link().responseXML = answer;
    window->link().ParseResponseXML("TimeTrackingAddRs", "TimeTrackingRet");
    EXPECT_EQ(punch(), Strings{});
    qb.responses = {resolution};
    activate();
    EXPECT_EQ(punch(), fullPunch);
    EXPECT_EQ(logText(), "");
}

// The first write, and writes well into the work: each run writes the stage, and applies an
// answer, under one commit, so an export's work is about a dozen writes.
INSTANTIATE_TEST_SUITE_P(AtWrite, CrashSafety, ::testing::Values(1, 2, 5, 7, 10));

// The program is killed while it records or applies the answer of an export that the
// accounting system (the simulator, in the same process) has already posted; the next run,
// exporting again, must leave every ticket in the company file exactly once.
class KilledExport : public CrashSafety {
  protected:
    KilledExport() {
        std::filesystem::remove(companyPath);
        standins::CompanyFile::create(companyPath, 1'700'000'000);
        standins::CompanyFile file(companyPath);
        Strings names;
        for (int i = 0; i < kEmployees; ++i) {
            names.push_back("Worker " + std::to_string(100 + i));
        }
        file.addNames(standins::ListKind::Employee, names, 1'700'000'000);
        file.addNames(standins::ListKind::WageItem, {"Hourly", "Overtime"}, 1'700'000'000);
        factory = [] { return std::make_unique<SimulatedRequestProcessor>(); };
    }

    // The company file's tickets as "date|employee|seconds|item", in the order posted.
    Strings posted() const {
        Strings tickets;
        for (const auto& ticket : standins::CompanyFile(companyPath).postedTickets()) {
            tickets.push_back(ticket.ticket.txnDate + "|" + ticket.ticket.employee.name + "|" +
                              std::to_string(ticket.ticket.durationSeconds) + "|" +
                              (ticket.ticket.wageItem ? ticket.ticket.wageItem->name : ""));
        }
        return tickets;
    }
};

TEST_P(KilledExport, ThenExportedAgainPostsEveryTicketOnce) {
    killedDuring([&] {
        activate();
        vfs.failWrites(FaultyVfs::Fault::KillProcess, GetParam(), "Vantrell.mdb");
        clickExport();
    });
    EXPECT_EQ(integrity(), "ok");

    ASSERT_TRUE(load());
    activate();
    clickExport();
    EXPECT_EQ(punch(), Strings{});
    Strings tickets = posted();
    EXPECT_EQ(tickets.size(), fullPunch.size());
    std::sort(tickets.begin(), tickets.end());
    const auto twice = std::adjacent_find(tickets.begin(), tickets.end());
    EXPECT_TRUE(twice == tickets.end()) << "posted twice: " << *twice;
    EXPECT_EQ(logText(), "");
}

// Before the message goes out (the journal's record), right after it was answered, and while
// the accepted tickets leave the stage.
INSTANTIATE_TEST_SUITE_P(AtWrite, KilledExport, ::testing::Values(1, 2, 3, 5, 8, 12));

// The accounting system stores a large message's tickets a thousand at a time: killed in the
// middle of the message, it keeps the groups it finished. Whatever it kept, exporting again
// must leave every ticket in the company file exactly once.
class KilledAccountingSystem : public KilledExport {
  protected:
    static constexpr int kLargeStaff = 600;  // two tickets each: two groups

    KilledAccountingSystem() {
        std::vector<sampledata::Day> days;
        Strings names;
        for (int i = 0; i < kLargeStaff; ++i) {
            names.push_back("Worker " + std::to_string(1000 + i));
            days.push_back({names.back(), "2026-03-02", 8.0, 1.0, 0.0, {}, 0});
        }
        std::filesystem::remove(t.sandbox.file("ChronelV7.mde"));
        writeChronel(days);
        std::filesystem::remove(companyPath);
        standins::CompanyFile::create(companyPath, 1'700'000'000);
        standins::CompanyFile file(companyPath);
        file.addNames(standins::ListKind::Employee, names, 1'700'000'000);
        file.addNames(standins::ListKind::WageItem, {"Hourly", "Overtime"}, 1'700'000'000);
    }
};

TEST_F(KilledAccountingSystem, KeepsTheGroupsItFinishedAndTheNextExportPostsTheRest) {
    const std::string pristine = companyPath + ".pristine";
    std::filesystem::copy_file(companyPath, pristine);
    std::vector<std::size_t> kept;
    for (const int write : {10, 40, 80, 120, 160, 200, 260}) {
        std::filesystem::copy_file(pristine, companyPath,
                                   std::filesystem::copy_options::overwrite_existing);
        const ChildEnd end = runInChild([&] {
            ASSERT_TRUE(load());
            activate();
            vfs.failWrites(FaultyVfs::Fault::KillProcess, write, "Company.qbw");
            clickExport();
        });
        if (!end.signaled) {
            continue;  // the message was answered before that write
        }
        ASSERT_EQ(end.status, SIGKILL);
        const std::size_t postedBefore = posted().size();
        EXPECT_EQ(postedBefore % 1000, 0u) << "a group half kept at write " << write;
        kept.push_back(postedBefore);

        ASSERT_TRUE(load());
        activate();
        clickExport();
        unload();
        window.reset();
        state = ProgramState{};
        Strings tickets = posted();
        EXPECT_EQ(tickets.size(), 2u * kLargeStaff) << "at write " << write;
        std::sort(tickets.begin(), tickets.end());
        const auto twice = std::adjacent_find(tickets.begin(), tickets.end());
        EXPECT_TRUE(twice == tickets.end()) << "posted twice: " << *twice;
    }
    // Some kill came after the first group was stored: the next export met tickets posted.
    EXPECT_NE(std::find(kept.begin(), kept.end(), 1000u), kept.end());
}

}  // namespace
}  // namespace vantrell::testing
