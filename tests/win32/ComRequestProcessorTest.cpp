#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "diag/FileSystem.h"
#include "qblink/RequestText.h"
#include "shell/win32/ComRequestProcessor.h"
#include "standins/QbsimCommand.h"
#include "support/Sandbox.h"

namespace vantrell::win32 {
namespace {

// The fake request processor (tests/win32/fakerp), registered under the accounting system's
// ProgIDs by the test fixture, reached through the real COM code.
struct ComProcessor : ::testing::Test {
    testing::Sandbox sandbox;
    std::string company = pathToUtf8(sandbox.file("Company.qbw"));

    void SetUp() override {
        std::ostringstream out;
        std::ostringstream err;
        ASSERT_EQ(standins::runQbsim({"create", company}, out, err), 0) << err.str();
    }

    static std::string failureOf(const std::function<void()>& step) {
        try {
            step();
        } catch (const Failure& failure) {
            return failure.what();
        }
        return "<no failure>";
    }
};

TEST_F(ComProcessor, WholeSessionThroughLateBinding) {
    ComRequestProcessor processor;
    processor.OpenConnection("QBMarwick", "Chronel interface");
    const std::string ticket = processor.BeginSession(company, 0);
    EXPECT_FALSE(ticket.empty());
    const std::string response = processor.ProcessRequest(ticket, resolveQueryRequest());
    EXPECT_NE(response.find("<EmployeeQueryRs"), std::string::npos) << response;
    EXPECT_NE(response.find("<PayrollItemWageQueryRs"), std::string::npos) << response;
    processor.EndSession(ticket);
    processor.CloseConnection();
}

TEST_F(ComProcessor, ComponentErrorsCarryTheirTextAndHresult) {
    ComRequestProcessor processor;
    EXPECT_EQ(failureOf([&] { processor.BeginSession(company, 0); }),
              "The \"OpenConnection\" method has not been called. (HRESULT 0x8004040F)");
    processor.OpenConnection("QBMarwick", "Chronel interface");
    EXPECT_EQ(failureOf([&] { processor.BeginSession(pathToUtf8(sandbox.file("none.qbw")), 0); }),
              "Could not open the specified QuickBooks company data file. (HRESULT 0x80040403)");
    EXPECT_EQ(failureOf([&] { processor.ProcessRequest("{no-session}", "<QBXML/>"); }),
              "The \"BeginSession\" method has not been called or it did not succeed. "
              "(HRESULT 0x8004040C)");
    processor.CloseConnection();
}

TEST_F(ComProcessor, FallsBackToTheEarlierProgIdAndNamesEachThatFailed) {
    ComRequestProcessor fallback({L"Vantrell.NotRegistered.1", L"QBXMLRP2.RequestProcessor"});
    fallback.OpenConnection("QBMarwick", "Chronel interface");
    fallback.CloseConnection();

    const std::string failure = failureOf([] {
        ComRequestProcessor({L"Vantrell.NotRegistered.1", L"Vantrell.NotRegistered.2"});
    });
    EXPECT_EQ(failure.rfind("The accounting system's request processor could not be created: "
                            "Vantrell.NotRegistered.1 is not registered: ",
                            0),
              0u)
        << failure;
    EXPECT_NE(failure.find("; Vantrell.NotRegistered.2 is not registered: "), std::string::npos);
    EXPECT_NE(failure.find("(HRESULT 0x800401F3)"), std::string::npos) << failure;
}

}  // namespace
}  // namespace vantrell::win32
