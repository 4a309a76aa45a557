#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "ChildProcess.h"
#include "FaultFixture.h"
#include "diag/InstanceLock.h"
#include "shell/cli/CliRun.h"
#include "shell/window/modVantrellMain.h"
#include "standins/QbsimCommand.h"

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

}  // namespace
}  // namespace vantrell::testing
