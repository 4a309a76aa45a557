#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>

#include "ChildProcess.h"
#include "FaultFixture.h"
#include "FaultyVfs.h"
#include "interfacedb/Connection.h"
#include "interfacedb/ConnectionString.h"
#include "interfacedb/stage/PostingJournal.h"
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

    // Undoes, through the window's session, every export the journal lists; the company file
    // must then hold no ticket: none that an export posted is out of reach of the undo.
    void undoEveryExport() {
        db::Connection cn;
        cn.open(db::connectionStringFor(interfaceDb()));
        for (const stage::ExportSummary& summary : stage::listExports(cn)) {
            EXPECT_EQ(summary.unconfirmed, 0) << "export " << summary.id;
            const QuickBooksLink::UndoOutcome outcome = window->link().UndoExport(summary.id);
            EXPECT_TRUE(outcome.kept.empty()) << outcome.kept.front();
        }
        EXPECT_EQ(posted(), Strings{});
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
    undoEveryExport();
}

// Before the message goes out (the journal's record), right after it was answered, and while
// the accepted tickets leave the stage.
INSTANTIATE_TEST_SUITE_P(AtWrite, KilledExport, ::testing::Values(1, 2, 3, 5, 8, 12));

// The simulator, killed with the program at one moment around the export's message: in the
// check right before it (before or after that check is answered), between the journal's record
// of the tickets sent and the send, or once the accounting system has stored them and before
// the answer is read.
class KillingProcessor final : public RequestProcessor {
  public:
    enum class Moment { CheckAsked, CheckAnswered, BeforeSend, AfterSend };

    explicit KillingProcessor(Moment moment) : moment_(moment) {}

    void OpenConnection(const std::string& appID, const std::string& appName) override {
        sim_.OpenConnection(appID, appName);
    }
    std::string BeginSession(const std::string& file, int mode) override {
        return sim_.BeginSession(file, mode);
    }
    std::string ProcessRequest(const std::string& ticket, const std::string& request) override {
        const bool check = request.find("<TimeTrackingQueryRq") != std::string::npos;
        const bool send = request.find("<TimeTrackingAddRq") != std::string::npos;
        // The second check is the one right before the message.
        const bool preSendCheck = check && ++checks_ == 2;
        if ((preSendCheck && moment_ == Moment::CheckAsked) ||
            (send && moment_ == Moment::BeforeSend)) {
            std::raise(SIGKILL);
        }
        std::string answer = sim_.ProcessRequest(ticket, request);
        if ((preSendCheck && moment_ == Moment::CheckAnswered) ||
            (send && moment_ == Moment::AfterSend)) {
            std::raise(SIGKILL);
        }
        return answer;
    }
    void EndSession(const std::string& ticket) override { sim_.EndSession(ticket); }
    void CloseConnection() override { sim_.CloseConnection(); }

  private:
    Moment moment_;
    int checks_ = 0;
    SimulatedRequestProcessor sim_;
};

// The parameter is the moment, as a number (the fixture's parameter is a number).
class KilledAroundTheSend : public KilledExport {};

TEST_P(KilledAroundTheSend, ThenExportedAgainPostsEveryTicketOnceAndAllCanBeUndone) {
    const auto moment = static_cast<KillingProcessor::Moment>(GetParam());
    factory = [moment] { return std::make_unique<KillingProcessor>(moment); };
    killedDuring([&] {
        activate();
        clickExport();
    });
    EXPECT_EQ(integrity(), "ok");
    const bool sent = moment == KillingProcessor::Moment::AfterSend;
    EXPECT_EQ(posted().size(), sent ? fullPunch.size() : 0u);
    {
        // Recorded before the send, the tickets are in the journal whatever came after.
        db::Connection cn;
        cn.open(db::connectionStringFor(interfaceDb()));
        const std::vector<stage::ExportSummary> exports = stage::listExports(cn);
        const bool recorded = moment == KillingProcessor::Moment::BeforeSend || sent;
        ASSERT_EQ(exports.size(), recorded ? 1u : 0u);
        if (recorded) {
            EXPECT_EQ(exports[0].unconfirmed, static_cast<std::int64_t>(fullPunch.size()));
        }
    }

    factory = [] { return std::make_unique<SimulatedRequestProcessor>(); };
    ASSERT_TRUE(load());
    activate();
    clickExport();
    EXPECT_EQ(punch(), Strings{});
    Strings tickets = posted();
    EXPECT_EQ(tickets.size(), fullPunch.size());
    std::sort(tickets.begin(), tickets.end());
    EXPECT_TRUE(std::adjacent_find(tickets.begin(), tickets.end()) == tickets.end());
    EXPECT_EQ(logText(), "");
    undoEveryExport();
}

INSTANTIATE_TEST_SUITE_P(
    Moment, KilledAroundTheSend,
    ::testing::Values(static_cast<int>(KillingProcessor::Moment::CheckAsked),
                      static_cast<int>(KillingProcessor::Moment::CheckAnswered),
                      static_cast<int>(KillingProcessor::Moment::BeforeSend),
                      static_cast<int>(KillingProcessor::Moment::AfterSend)));

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
        Strings tickets = posted();
        EXPECT_EQ(tickets.size(), 2u * kLargeStaff) << "at write " << write;
        std::sort(tickets.begin(), tickets.end());
        const auto twice = std::adjacent_find(tickets.begin(), tickets.end());
        EXPECT_TRUE(twice == tickets.end()) << "posted twice: " << *twice;
        // Every ticket posted, by the killed export or the rerun, is in reach of an undo.
        undoEveryExport();
        unload();
        window.reset();
        state = ProgramState{};
    }
    // Some kill came after the first group was stored: the next export met tickets posted.
    EXPECT_NE(std::find(kept.begin(), kept.end(), 1000u), kept.end());
}

}  // namespace
}  // namespace vantrell::testing
