#include "shell/window/ProgramStart.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "diag/Failure.h"
#include "diag/FileSystem.h"
#include "shell/window/modVantrellMain.h"
#include "support/FakePrompter.h"
#include "support/Sandbox.h"

namespace vantrell {
namespace {

// A start whose every step is recorded in `events`, over a data folder in a sandbox.
struct StartFixture : ::testing::Test {
    testing::Sandbox sandbox;
    testing::FakePrompter prompter;
    testing::FakeClock clock;
    std::vector<std::string> events;
    std::filesystem::path dataDir = sandbox.file("not yet") / "data";
    std::optional<std::filesystem::path> folderAsked;
    int processorsMade = 0;

    ProgramStart start() {
        ProgramStart s;
        s.dataDir = pathToUtf8(dataDir);
        s.processor = "sim";
        s.chooseProcessor = [this](const std::string& name) -> RequestProcessorFactory {
            events.push_back("choose " + name);
            if (name != "sim") {
                throw Failure("unknown request processor " + name);
            }
            return [this] {
                ++processorsMade;
                return std::unique_ptr<RequestProcessor>();
            };
        };
        s.resolveFolder = [this](const std::optional<std::filesystem::path>& option) {
            events.push_back("resolve");
            folderAsked = option;
            return ProgramFolder(option ? *option : sandbox.file("default"));
        };
        s.refuse = [this](const std::string& reason) { events.push_back("refuse " + reason); };
        s.onProcessorChosen = [this] { events.push_back("processor chosen"); };
        s.checkFolder = [this](const ProgramFolder& folder) -> std::optional<int> {
            events.push_back(std::filesystem::exists(folder.path()) ? "check made folder"
                                                                    : "check folder");
            return std::nullopt;
        };
        return s;
    }
};

TEST_F(StartFixture, ProgramStartRunsItsStepsInOrderInAFolderItMakes) {
    const int status = startProgram(
        start(), prompter, clock,
        [&](modErrorLog& log, ProgramState& state, const RequestProcessorFactory& factory) {
            events.push_back("window");
            EXPECT_EQ(log.folder().path().string(), dataDir.string());
            // Main has prepared the interface database in the folder.
            EXPECT_TRUE(std::filesystem::exists(dataDir / "Vantrell.mdb"));
            EXPECT_FALSE(state.interfaceDb.strInterfaceDB.empty());
            factory();
            return 7;
        });
    EXPECT_EQ(status, 7);
    EXPECT_EQ(events, (std::vector<std::string>{"choose sim", "processor chosen", "resolve",
                                                "check folder", "window"}));
    ASSERT_TRUE(folderAsked.has_value());
    EXPECT_EQ(folderAsked->string(), dataDir.string());
    EXPECT_EQ(processorsMade, 1);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(StartFixture, ProgramStartRefusedProcessorEndsWithTheUsageStatusBeforeAnythingElse) {
    ProgramStart s = start();
    s.processor = "carrier-pigeon";
    bool windowRan = false;
    const int status = startProgram(
        s, prompter, clock, [&](modErrorLog&, ProgramState&, const RequestProcessorFactory&) {
            windowRan = true;
            return 0;
        });
    EXPECT_EQ(status, kExitUsage);
    EXPECT_EQ(events,
              (std::vector<std::string>{"choose carrier-pigeon",
                                        "refuse unknown request processor carrier-pigeon"}));
    EXPECT_FALSE(windowRan);
    EXPECT_FALSE(std::filesystem::exists(dataDir));
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(StartFixture, ProgramStartWithoutDataDirLeavesTheFolderToThePlatformAndHooksAreOptional) {
    ProgramStart s = start();
    s.dataDir.reset();
    s.onProcessorChosen = nullptr;
    s.checkFolder = nullptr;
    const int status = startProgram(
        s, prompter, clock, [&](modErrorLog& log, ProgramState&, const RequestProcessorFactory&) {
            EXPECT_EQ(log.folder().path().string(), sandbox.file("default").string());
            return kExitNormal;
        });
    EXPECT_EQ(status, kExitNormal);
    EXPECT_FALSE(folderAsked.has_value());
    EXPECT_TRUE(std::filesystem::is_directory(sandbox.file("default")));
}

TEST_F(StartFixture, ProgramStartEndsWithTheFolderChecksStatusHavingMadeNothing) {
    ProgramStart s = start();
    s.checkFolder = [](const ProgramFolder&) -> std::optional<int> { return 5; };
    bool windowRan = false;
    const int status = startProgram(
        s, prompter, clock, [&](modErrorLog&, ProgramState&, const RequestProcessorFactory&) {
            windowRan = true;
            return 0;
        });
    EXPECT_EQ(status, 5);
    EXPECT_FALSE(windowRan);
    EXPECT_FALSE(std::filesystem::exists(sandbox.file("not yet")));  // no folder, lock or log
}

TEST_F(StartFixture, ProgramStartTakesARelativeDataDirWholeFromTheCurrentFolder) {
    ProgramStart s = start();
    s.dataDir = "not yet/./data/../data";
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(sandbox.path());
    std::optional<std::filesystem::path> seen;
    const int status = startProgram(
        s, prompter, clock, [&](modErrorLog& log, ProgramState&, const RequestProcessorFactory&) {
            seen = log.folder().path();
            return 0;
        });
    std::filesystem::current_path(before);
    EXPECT_EQ(status, 0);
    ASSERT_TRUE(seen.has_value());
    EXPECT_EQ(seen->string(), dataDir.string());
}

TEST_F(StartFixture, ProgramStartEndingAtOnceFromTheWindowGivesItsStatus) {
    const int status =
        startProgram(start(), prompter, clock,
                     [](modErrorLog&, ProgramState&, const RequestProcessorFactory&) -> int {
                         throw EndProgram{4};
                     });
    EXPECT_EQ(status, 4);
}

}  // namespace
}  // namespace vantrell
