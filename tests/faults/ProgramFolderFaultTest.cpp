#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <ostream>
#include <sstream>

#include "FaultFixture.h"
#include "shell/cli/CliRun.h"
#include "shell/window/modVantrellMain.h"

namespace vantrell::testing {
namespace {

// Files of the program folder that cannot be written: a folder stands where the file would be,
// which stops the write whoever runs the test (root ignores permissions).
class ProgramFolderFaults : public ProgramFixture {
  protected:
    ProgramFolderFaults() { writeChronel(usualDays()); }

    void block(const std::string& fileName) {
        std::filesystem::create_directory(t.sandbox.file(fileName));
    }

    bool boxShown(const std::string& procedure) const {
        return std::any_of(t.prompter.shown.begin(), t.prompter.shown.end(), [&](const auto& box) {
            return box.title == "ERROR" && box.text.ends_with("\r\n" + procedure);
        });
    }
};

TEST_F(ProgramFolderFaults, AnUnwritableLogStillShowsEveryBoxAndTheProgramGoesOn) {
    block("VantrellLog.txt");
    block("ResolveReq.txt");
    ASSERT_TRUE(load());
    activate();

    EXPECT_TRUE(boxShown("ResolveWithQB"));
    EXPECT_TRUE(qb.requests.empty()) << "the query went out without its trace";
    EXPECT_EQ(controls.lines.back(), "There are 1 issues requiring resolution.");
    EXPECT_EQ(punch(), usualPunch());
}

// A trace file of the export that cannot be written: the procedure that writes it reports it,
// and no ticket leaves the stage that the accounting system has not taken, nor stays that it has.
struct TraceFault {
    const char* fileName;
    const char* procedure;
    bool sent;
    Strings left;
    bool exportStaysOn;
};

std::ostream& operator<<(std::ostream& out, const TraceFault& f) {
    return out << f.fileName;
}

class BlockedExportTrace : public ProgramFolderFaults,
                           public ::testing::WithParamInterface<TraceFault> {};

TEST_P(BlockedExportTrace, IsReportedAndTheStageMatchesWhatWasPosted) {
    block(GetParam().fileName);
    ASSERT_TRUE(load());
    activate();
    clickExport();

    EXPECT_TRUE(boxShown(GetParam().procedure)) << logText();
    EXPECT_EQ(qb.requests.size(), GetParam().sent ? 2u : 1u);
    EXPECT_EQ(punch(), GetParam().left);
    EXPECT_EQ(controls.enabled[WindowButton::Export], GetParam().exportStaysOn);
}

INSTANTIATE_TEST_SUITE_P(
    Traces, BlockedExportTrace,
    ::testing::Values(TraceFault{"PunchReq.txt", "cmdExport_Click", false,
                                 ProgramFixture::usualPunch(), true},
                      TraceFault{"RawData.txt", "BuildRequestString", true, {}, false},
                      // The tickets were posted: they must not stay to be posted again.
                      TraceFault{"PunchResp.txt", "cmdExport_Click", true, {}, true}));

TEST(ProgramFolder, ThatCannotBeMadeEndsTheProgramWithItsNote) {
    Sandbox sandbox;
    sandbox.write("occupied", "a file, not a folder");
    CliOptions options;
    options.dataDir = (sandbox.path() / "occupied" / "Vantrell").string();
    MemorySettings settings;
    FakeClock clock;
    std::ostringstream out;
    std::ostringstream err;

    EXPECT_EQ(runHeadless(options, settings, clock, out, err), 1);
    // The first file the program makes there is its lock, which says why it cannot be made.
    EXPECT_NE(err.str().find("ERROR: " + std::string(kLockUnavailable) +
                             "\r\nCould not open the lock file '" + *options.dataDir +
                             "/Vantrell.lock': Not a directory\r\nMain\n"),
              std::string::npos)
        << err.str();
    EXPECT_EQ(out.str(), "");
}

}  // namespace
}  // namespace vantrell::testing
