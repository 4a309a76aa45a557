#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "diag/InstanceLock.h"
#include "shell/CliFixture.h"

namespace vantrell {
namespace {

using testing::CliRun;
using testing::linesOf;

// vantrell-cli's start as a user meets it: the locations it stores, the copy it refuses, the
// lock it cannot take, the read-only commands on a folder that holds nothing, help and version.
struct CliStartUp : testing::CliFixture {
    void SetUp() override { writeSmallData({"Worker One"}); }

    // The value of `key` in the settings file, or "(none)".
    std::string stored(const std::string& key) {
        for (const std::string& line :
             linesOf(sandbox.read("config/VB and VBA Program Settings/CH7.conf"))) {
            if (line.rfind(key + "=", 0) == 0) {
                return line.substr(key.size() + 1);
            }
        }
        return "(none)";
    }

    static std::vector<std::string> filesIn(const std::filesystem::path& folder) {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }
};

TEST_F(CliStartUp, RelativeLocationsAreStoredWholeAndFoundFromAnotherFolder) {
    workingFolder = sandbox.path().string();
    CliRun run = cli({"--data-dir", "program", "--chronel", "ChronelV7.mde", "--company",
                      "./elsewhere/../Company.qbw"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(stored("CHprog"), chronel);
    EXPECT_EQ(stored("QBdata"), company);
    EXPECT_TRUE(std::filesystem::exists(sandbox.file("program/Vantrell.mdb")));

    // From another folder, with nothing given but the program folder.
    std::filesystem::create_directory(sandbox.file("elsewhere"));
    workingFolder = sandbox.file("elsewhere").string();
    run = cli({"--data-dir", "../program"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(linesOf(run.out).front(), "Click Export to post your time tickets in QuickBooks.");
}

TEST_F(CliStartUp, ACopyRefusedForAnotherOnTheFolderLeavesTheSettingsAsTheyWere) {
    ASSERT_EQ(cliWithFiles().status, 0);
    const std::string other = sandbox.file("Other.mde").string();
    std::filesystem::copy_file(chronel, other);

    // This test's process holds the folder as a first copy would.
    const InstanceLock held{ProgramFolder(data)};
    ASSERT_EQ(held.outcome(), InstanceLock::Outcome::Acquired);
    const CliRun run = cli({"--data-dir", data, "--chronel", other});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              "NOTE: Another copy of the program is using this program folder. Close it first.\n");
    EXPECT_EQ(stored("CHprog"), chronel);
    EXPECT_EQ(stored("QBdata"), company);
}

TEST_F(CliStartUp, ASettingsStoreThatCannotBeWrittenIsLoggedAndTheGivenFilesServeTheRun) {
    // A folder where the settings file would be: whoever runs the test cannot write it.
    std::filesystem::create_directories(settingsFile());
    const CliRun run = cliWithFiles();
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(linesOf(run.out).front(), "Click Export to post your time tickets in QuickBooks.");
    const std::string failure =
        "Could not store the setting CHprog in " + settingsFile() + ": the file cannot be written";
    EXPECT_EQ(run.err, "ERROR: " + failure + "\r\nstoreGivenLocations\n");
    EXPECT_NE(programFile("VantrellLog.txt").find("storeGivenLocations " + failure),
              std::string::npos)
        << programFile("VantrellLog.txt");
}

TEST_F(CliStartUp, ListingOrUndoingOnAFolderWithoutVantrellMdbSaysSoAndMakesNothing) {
    const std::string mistyped = sandbox.file("mistyped/folder").string();
    std::filesystem::create_directory(data);
    for (const std::string& folder : {mistyped, data}) {
        for (const std::vector<std::string>& command :
             {std::vector<std::string>{"--list-exports"},
              std::vector<std::string>{"--company", company, "--undo-export", "1"}}) {
            std::vector<std::string> args = {"--data-dir", folder};
            args.insert(args.end(), command.begin(), command.end());
            const CliRun run = cli(args);
            EXPECT_EQ(run.status, 1) << folder << ' ' << command.front();
            EXPECT_EQ(run.err, "There is no Vantrell.mdb in '" + folder +
                                   "': that folder holds no exports.\n");
            EXPECT_EQ(run.out, "");
        }
    }
    EXPECT_FALSE(std::filesystem::exists(sandbox.file("mistyped")));
    EXPECT_EQ(filesIn(data), std::vector<std::string>{});  // no database, lock or log
    EXPECT_EQ(stored("QBdata"), "(none)");
}

// The second-copy lock that cannot be taken ends the program, as a second copy does: without
// it, two exports on the folder would post every ticket twice.
TEST_F(CliStartUp, ALockThatCannotBeTakenEndsTheProgramSayingWhy) {
    const std::string lockFile = data + "/Vantrell.lock";
    const std::string lead =
        "ERROR: The program folder could not be locked against a second copy of the "
        "program.\r\nCould not open the lock file '" +
        lockFile + "': ";

    // A folder of that name.
    std::filesystem::create_directories(lockFile);
    CliRun run = cliWithFiles({"--export"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, lead + "Is a directory\r\nMain\n");
    EXPECT_EQ(run.out, "");
    EXPECT_FALSE(std::filesystem::exists(data + "/Vantrell.mdb"));
    EXPECT_TRUE(postedTickets().empty());
    const std::string log = programFile("VantrellLog.txt");
    EXPECT_NE(log.find("Main Could not open the lock file '" + lockFile +
                       "': Is a directory\r\n The program folder could not be locked"),
              std::string::npos)
        << log;

    // A read-only file (root writes it anyway: the run drops that power).
    std::filesystem::remove(lockFile);
    sandbox.write("program/Vantrell.lock", "");
    std::filesystem::permissions(lockFile, std::filesystem::perms::owner_read);
    if (geteuid() == 0) {
        wrapper = "setpriv --bounding-set -dac_override,-dac_read_search";
        if (std::system((wrapper + " true 2>/dev/null").c_str()) != 0) {
            GTEST_SKIP() << "root here cannot give up its power over file permissions";
        }
    }
    run = cliWithFiles({"--export"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, lead + "Permission denied\r\nMain\n");
    EXPECT_FALSE(std::filesystem::exists(data + "/Vantrell.mdb"));
    EXPECT_TRUE(postedTickets().empty());
}

TEST_F(CliStartUp, HelpTellsEachOptionAndExitStatusAndVersionTheProjectsVersion) {
    CliRun run = cli({"--help"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    for (const char* said :
         {"usage: vantrell-cli", "--data-dir DIR     folder of Vantrell.mdb",
          "--chronel FILE     the time-and-attendance file", "--company FILE     the accounting",
          "--processor NAME   the request processor", "--export           posts",
          "--list-exports     lists", "--undo-export ID   deletes", "--help, --version",
          "Exit status: 0 normal; 1 the program ended early", "2 --export given, but issues remain",
          "3 tickets remain", "64 the command line was not", "--map-employee FROM TO",
          "--map-pay-type FROM TO", "--unmap employee|pay-type FROM", "--list-maps        lists",
          "a map entry was refused"}) {
        EXPECT_NE(run.out.find(said), std::string::npos) << said;
    }

    run = cli({"--version"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, std::string("vantrell-cli ") + VANTRELL_VERSION + "\n");
    EXPECT_EQ(run.err, "");
    EXPECT_FALSE(std::filesystem::exists(data));
}

}  // namespace
}  // namespace vantrell
