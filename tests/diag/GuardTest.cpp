#include <gtest/gtest.h>

#include <stdexcept>

#include "diag/Guard.h"
#include "support/TestLog.h"

namespace vantrell {
namespace {

using testing::kStamp;
using testing::TestLog;

TEST(Guard, FailureIsLoggedUnderTheProcedureAndConsumed) {
    TestLog t;
    bool reachedEnd = false;
    const bool ok = guard(t.log, "ShowIssues", [&] {
        throw Failure("no such table: Employee");
        reachedEnd = true;
    });
    EXPECT_FALSE(ok);
    EXPECT_FALSE(reachedEnd);
    EXPECT_EQ(t.logText(), std::string(kStamp) + "ShowIssues no such table: Employee\r\n \r\n");
}

TEST(Guard, MessageIsReadWhenTheFailureHappens) {
    TestLog t;
    std::string step = "test connection";
    guard(t.log, "OpenQBConnection", step, [&] {
        step = "begin a session at /company/file.qbw";
        throw Failure("Could not open the file");
    });
    EXPECT_EQ(
        t.prompter.shown.at(0).text,
        "begin a session at /company/file.qbw\r\nCould not open the file\r\nOpenQBConnection");
}

TEST(Guard, SuccessLogsNothingAndEndProgramPassesThrough) {
    TestLog t;
    EXPECT_TRUE(guard(t.log, "Form_Load", [] {}));
    EXPECT_THROW(guard(t.log, "GetChronelData", [] { throw EndProgram{1}; }), EndProgram);
    EXPECT_TRUE(t.prompter.shown.empty());
    EXPECT_EQ(t.logText(), "");
}

TEST(Guard, NestedGuardsConsumeTheirOwnFailures) {
    TestLog t;
    bool outerWentOn = false;
    const bool ok = guard(t.log, "GetChronelData", [&] {
        guard(t.log, "CreateWorkRecord", std::string("Reg RGSTD"),
              [] { throw Failure("Field too small"); });
        outerWentOn = true;
    });
    EXPECT_TRUE(ok);
    EXPECT_TRUE(outerWentOn);
    EXPECT_EQ(t.logText(),
              std::string(kStamp) + "CreateWorkRecord Field too small\r\n Reg RGSTD\r\n");
}

}  // namespace
}  // namespace vantrell
