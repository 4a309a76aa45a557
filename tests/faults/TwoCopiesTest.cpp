#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>

#include "ChildProcess.h"
#include "FaultFixture.h"
#include "diag/InstanceLock.h"
#include "shell/cli/CliRun.h"
#include "shell/window/modVantrellMain.h"
#include "standins/CompanyFile.h"
#include "standins/ProcessorError.h"
#include "standins/QbsimCommand.h"
#include "standins/SimulatedRequestProcessor.h"

namespace vantrell::testing {
namespace {

// Two copies of the program on one program folder, each a process of its own.
class TwoCopies : public ::testing::Test {
  protected:
    TwoCopies() {
        sampledata::ChronelWriter writer(sandbox.file("ChronelV7.mde"));
        sampledata::ExportDefinition definition;
        definition.payTypes = {{"RGSTD", "Hourly"}};
        writer.add(definition);
        writer.add(sampledata::AccrualTitles{"Vacation", "Sick", "Personal"});
        for (int i = 0; i < 30; ++i) {
            writer.add(sampledata::Day{
                "Worker " + std::to_string(10 + i), "2026-03-02", 8.0, 0.0, 0.0, {}, 0});
        }
        writer.commit();
        std::ostringstream ignored;
        standins::runQbsim({"create", company()}, ignored, ignored);
        options.dataDir = sandbox.path().string();
        options.chronel = sandbox.file("ChronelV7.mde").string();
        options.company = company();
    }

    std::string company() const { return sandbox.file("Company.qbw").string(); }

    int run(std::string& messages) {
        MemorySettings settings;
        FakeClock clock;
        std::ostringstream out;
        std::ostringstream err;
        const int status = runHeadless(options, settings, clock, out, err);
        messages = err.str();
        return status;
    }

    Strings staged() const {
        return fileRows(sandbox.file("Vantrell.mdb").string(),
                        "select Sequence, Name from Punch order by Sequence, Name");
    }

    Sandbox sandbox;
    CliOptions options;
};

TEST_F(TwoCopies, TheSecondIsToldAndEndsWithoutTouchingTheStage) {
    std::string messages;
    ASSERT_EQ(run(messages), 0) << messages;
    const Strings before = staged();
    ASSERT_EQ(before.size(), 30u);

    std::unique_ptr<InstanceLock> held;
    HoldingChild first([&] {
        held = std::make_unique<InstanceLock>(ProgramFolder(sandbox.path()));
        if (held->outcome() != InstanceLock::Outcome::Acquired) {
            throw std::runtime_error("not acquired");
        }
    });
    ASSERT_TRUE(first.holding());

    EXPECT_EQ(run(messages), 1);
    EXPECT_EQ(messages, std::string("NOTE: ") + kAlreadyRunning + "\n");
    EXPECT_NE(sandbox.read("VantrellLog.txt").find(kAlreadyRunning), std::string::npos);
    EXPECT_EQ(staged(), before);

    // Once the first copy has ended, by itself or killed, the folder is free again.
    EXPECT_EQ(first.release().status, 0);
    EXPECT_EQ(run(messages), 0) << messages;
    EXPECT_EQ(staged(), before);
}

TEST_F(TwoCopies, StartedTogetherNeverMixTheirStages) {
    for (int round = 0; round < 3; ++round) {
        std::string messages;
        HoldingChild other([] {},
                           [&] {
                               std::string text;
                               const int status = run(text);
                               if (status != 0 && text.find(kAlreadyRunning) == std::string::npos) {
                                   throw std::runtime_error(text);
                               }
                           });
        other.letGo();  // the other copy starts now and runs beside this one
        const int status = run(messages);
        EXPECT_TRUE(status == 0 || messages.find(kAlreadyRunning) != std::string::npos) << messages;
        EXPECT_EQ(other.release().status, 0);
        EXPECT_EQ(integrityOf(sandbox.file("Vantrell.mdb").string()), "ok");
        const Strings rows = staged();
        EXPECT_EQ(rows.size(), 30u);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(rows[i], std::to_string(i + 1) + "|Worker " + std::to_string(10 + i));
        }
    }
}

// What the copy that another program's session keeps off the company file says.
bool saysFileHeld(const std::string& messages, const std::string& company) {
    return messages.find("Another program has the QuickBooks company file " + company + " open.") !=
           std::string::npos;
}

// A program of another process holding the company file in a single-user session keeps this
// copy off it: the copy says so, naming the file, and ends before it stages anything; once that
// process has ended (it never ended its session), the file is free again.
TEST_F(TwoCopies, AnotherProgramsSessionOnTheCompanyFileIsNamedAndEndsTheRun) {
    std::unique_ptr<SimulatedRequestProcessor> session;
    HoldingChild holder([&] {
        session = std::make_unique<SimulatedRequestProcessor>();
        session->OpenConnection("Other", "Another application");
        session->BeginSession(company(), 0);
    });
    ASSERT_TRUE(holder.holding());

    std::string messages;
    EXPECT_EQ(run(messages), 1);
    EXPECT_TRUE(saysFileHeld(messages, company())) << messages;
    EXPECT_NE(
        messages.find(standins::processorMessage(standins::ProcessorCode::SingleUserFileShared)),
        std::string::npos)
        << messages;
    EXPECT_TRUE(saysFileHeld(sandbox.read("VantrellLog.txt"), company()));
    EXPECT_EQ(staged(), Strings{});

    EXPECT_EQ(holder.release().status, 0);
    EXPECT_EQ(run(messages), 0) << messages;
    EXPECT_EQ(staged().size(), 30u);
}

// yyyy-mm-dd of the day `offset` days after 2025-01-01.
std::string dayText(int offset) {
    using namespace std::chrono;
    const year_month_day date{sys_days{2025y / January / 1} + days{offset}};
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
    return text;
}

// Two copies with program folders of their own, started together on the same time data and
// company file, each exporting: whichever gets the company file first posts, the other is kept
// off it and says why, or comes after it and finds everything posted. Never a ticket twice.
TEST(TwoCopiesOnOneCompanyFile, StartedTogetherPostEveryTicketOnce) {
    constexpr int kWorkers = 30;
    constexpr int kDays = 100;
    Sandbox sandbox;
    {
        sampledata::ChronelWriter writer(sandbox.file("ChronelV7.mde"));
        sampledata::ExportDefinition definition;
        definition.payTypes = {{"RGSTD", "Hourly"}};
        writer.add(definition);
        writer.add(sampledata::AccrualTitles{"Vacation", "Sick", "Personal"});
        for (int worker = 0; worker < kWorkers; ++worker) {
            for (int day = 0; day < kDays; ++day) {
                writer.add(sampledata::Day{
                    "Worker " + std::to_string(10 + worker), dayText(day), 8.0, 0.0, 0.0, {}, 0});
            }
        }
        writer.commit();
    }
    for (int round = 0; round < 3; ++round) {
        const std::string company = sandbox.file("Company" + std::to_string(round) + ".qbw");
        std::ostringstream ignored;
        ASSERT_EQ(standins::runQbsim({"create", company}, ignored, ignored), 0);
        std::vector<std::string> add = {"add-employee", company};
        for (int worker = 0; worker < kWorkers; ++worker) {
            add.push_back("Worker " + std::to_string(10 + worker));
        }
        ASSERT_EQ(standins::runQbsim(add, ignored, ignored), 0);
        ASSERT_EQ(standins::runQbsim({"add-wage-item", company, "Hourly"}, ignored, ignored), 0);

        // Each copy's status, then what it said, in a file of its own.
        const auto exportFrom = [&](const std::string& folder) {
            CliOptions options;
            options.dataDir = sandbox.file(folder).string();
            options.chronel = sandbox.file("ChronelV7.mde").string();
            options.company = company;
            options.exportTickets = true;
            MemorySettings settings;
            FakeClock clock;
            std::ostringstream out;
            std::ostringstream err;
            const int status = runHeadless(options, settings, clock, out, err);
            std::ofstream(sandbox.file(folder + ".txt")) << status << '\n' << err.str();
        };
        const std::string first = "first" + std::to_string(round);
        const std::string second = "second" + std::to_string(round);
        std::filesystem::create_directory(sandbox.file(first));
        std::filesystem::create_directory(sandbox.file(second));
        HoldingChild other([] {}, [&] { exportFrom(second); });
        other.letGo();
        exportFrom(first);
        ASSERT_EQ(other.release().status, 0);

        for (const std::string& folder : {first, second}) {
            const std::string said = sandbox.read(folder + ".txt");
            const int status = std::stoi(said);
            EXPECT_TRUE(status == 0 || (status == 1 && saysFileHeld(said, company)))
                << folder << ": " << said;
        }
        std::map<std::string, int> posted;
        for (const auto& ticket : standins::CompanyFile(company).postedTickets()) {
            ++posted[ticket.ticket.employee.name + " " + ticket.ticket.txnDate];
        }
        EXPECT_EQ(posted.size(), static_cast<std::size_t>(kWorkers * kDays)) << "round " << round;
        for (const auto& [key, count] : posted) {
            EXPECT_EQ(count, 1) << key << ", round " << round;
        }
    }
}

}  // namespace
}  // namespace vantrell::testing
