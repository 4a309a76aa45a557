#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <ostream>

#include "FaultFixture.h"

namespace vantrell::testing {
namespace {

// The time-and-attendance file changes under the program between the window's load, which
// opened it, and the activation, which reads it.
class ChronelFaults : public ProgramFixture {
  protected:
    ChronelFaults() {
        writeChronel(usualDays());
        qb.responses = {usualResolution(), usualResolution()};
        // An earlier run left its stage.
        EXPECT_TRUE(load());
        activate();
        unload();
        window.reset();
        state = ProgramState{};
        controls.lines.clear();
        EXPECT_TRUE(load());
    }
};

enum class Damage { Truncated, Overwritten };

std::ostream& operator<<(std::ostream& out, Damage damage) {
    return out << (damage == Damage::Truncated ? "truncated" : "overwritten");
}

class DamagedChronel : public ChronelFaults, public ::testing::WithParamInterface<Damage> {};

TEST_P(DamagedChronel, IsReportedAndTheStageOfTheLastRunStays) {
    if (GetParam() == Damage::Truncated) {
        std::filesystem::resize_file(chronelPath, 0);
    } else {
        const auto size = std::filesystem::file_size(chronelPath);
        std::ofstream(chronelPath, std::ios::binary | std::ios::trunc)
            << std::string(static_cast<std::size_t>(size), '\x5a');
    }
    activate();

    EXPECT_TRUE(logged("GetChronelData")) << logText();
    EXPECT_EQ(punch(), usualPunch());
    EXPECT_EQ(integrity(), "ok");
    EXPECT_FALSE(controls.lines.empty()) << "the activation did not go on";
}

INSTANTIATE_TEST_SUITE_P(Damage, DamagedChronel,
                         ::testing::Values(Damage::Truncated, Damage::Overwritten));

TEST_F(ChronelFaults, ADeletedFileIsStillReadThroughTheOpenConnection) {
    std::filesystem::remove(chronelPath);
    activate();

    EXPECT_EQ(punch(), usualPunch());
    EXPECT_EQ(controls.lines, Strings{"Click Export to post your time tickets in QuickBooks."});
    EXPECT_EQ(logText(), "");
}

}  // namespace
}  // namespace vantrell::testing
