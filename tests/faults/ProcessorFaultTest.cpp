#include <gtest/gtest.h>

#include <algorithm>

#include <ostream>

#include "FaultFixture.h"

namespace vantrell::testing {
namespace {

class ProcessorFaults : public ProgramFixture {
  protected:
    ProcessorFaults() { writeChronel(usualDays()); }
};

// One operation of the request processor fails; the program logs it under the procedure that
// made the call and goes on or ends as that procedure does.
struct OperationFault {
    const char* operation;
    const char* procedure;
    const char* message;  // the second line of the entry
    bool windowStays;     // false: the program ends at its load
    bool exported;        // the tickets were posted and have left the stage
};

std::ostream& operator<<(std::ostream& out, const OperationFault& f) {
    return out << f.operation;
}

class FailingOperation : public ProcessorFaults,
                         public ::testing::WithParamInterface<OperationFault> {};

TEST_P(FailingOperation, IsLoggedUnderItsCallerAndLosesNoTicket) {
    const OperationFault& fault = GetParam();
    qb.failures[fault.operation] = "The operation failed.";
    const bool stays = load();
    EXPECT_EQ(stays, fault.windowStays);
    if (stays) {
        activate();
        if (controls.enabled[WindowButton::Export]) {
            clickExport();
        }
        unload();
    }
    EXPECT_TRUE(
        logged(fault.procedure + std::string(" The operation failed.\r\n ") + fault.message))
        << logText();
    EXPECT_EQ(punch(), fault.exported ? Strings{} : (stays ? usualPunch() : Strings{}));
    EXPECT_EQ(integrity(), "ok");
}

INSTANTIATE_TEST_SUITE_P(
    Operations, FailingOperation,
    ::testing::Values(
        OperationFault{"OpenConnection", "OpenQBConnection", "open the connection", false, false},
        OperationFault{"BeginSession", "OpenQBConnection", "begin a session at ", false, false},
        OperationFault{"ProcessRequest", "ResolveWithQB", "\r\n", true, false},
        OperationFault{"EndSession", "CloseQBConnection", "\r\n", true, true},
        OperationFault{"CloseConnection", "CloseQBConnection", "\r\n", true, true}));

TEST_F(ProcessorFaults, ARefusedExportKeepsEveryTicketAndTheButton) {
    ASSERT_TRUE(load());
    activate();
    qb.failures["ProcessRequest"] = "QuickBooks is busy.";
    clickExport();

    EXPECT_TRUE(logged("cmdExport_Click QuickBooks is busy.")) << logText();
    EXPECT_EQ(punch(), usualPunch());
    EXPECT_TRUE(controls.enabled[WindowButton::Export]);
    EXPECT_EQ(controls.pointer, MousePointer::Default);
    EXPECT_EQ(t.sandbox.read("PunchResp.txt"), "");
}

// What the accounting system answers to the resolution is not a usable response: every name
// stays an issue, Export stays off and the stage is untouched.
class UselessResolution : public ProcessorFaults,
                          public ::testing::WithParamInterface<const char*> {};

TEST_P(UselessResolution, SaysTheNamesCouldNotBeChecked) {
    qb.responses = {GetParam()};
    ASSERT_TRUE(load());
    activate();

    EXPECT_EQ(employees(), (Strings{"Worker One", "Worker Two"}));
    EXPECT_EQ(payTypes(), (Strings{"Hourly", "Overtime"}));
    EXPECT_EQ(controls.lines,
              (Strings{"The names could not be checked against QuickBooks; see VantrellLog.txt.",
                       "", "There are 1 issues requiring resolution."}));
    EXPECT_TRUE(logged("ResolveWithQB") || logged("ParseResponseXML")) << logText();
    EXPECT_FALSE(controls.enabled[WindowButton::Export]);
    EXPECT_EQ(punch(), usualPunch());
}

INSTANTIATE_TEST_SUITE_P(
    Responses, UselessResolution,
    ::testing::Values(
        "", "garbage", "<QBXML><QBXMLMsgsRs>", "\xff\xfe<\0Q\0",
        "<?xml version=\"1.0\" ?><QBXML><QBXMLMsgsRs><EmployeeQueryRs "
        "requestID=\"Employee\" statusCode=\"3100\" statusSeverity=\"Error\" "
        "statusMessage=\"The name is in use.\"/></QBXMLMsgsRs></QBXML>",
        "<?xml version=\"1.0\" ?><QBXML><QBXMLMsgsRs><CustomerQueryRs "
        "requestID=\"Employee\" statusCode=\"0\" statusSeverity=\"Info\"><CustomerRet>"
        "<Name>Worker One</Name></CustomerRet></CustomerQueryRs></QBXMLMsgsRs></QBXML>"));

TEST_F(ProcessorFaults, AGarbledResolutionIsLoggedByTheParser) {
    qb.responses = {"<QBXML><EmployeeQueryRs"};
    ASSERT_TRUE(load());
    activate();
    EXPECT_TRUE(logged("ParseResponseXML")) << logText();
    EXPECT_NE(logText().find("loadXML failed, reason: "), std::string::npos);
}

// What the accounting system answers to the export touches only the tickets it names by a
// ticket number; the rest stay staged for the next export.
struct ExportAnswer {
    const char* name;
    std::string response;
    Strings left;
};

std::ostream& operator<<(std::ostream& out, const ExportAnswer& a) {
    return out << a.name;
}

std::string nameOfAnswer(const ::testing::TestParamInfo<ExportAnswer>& answer) {
    return answer.param.name;
}

class ExportAnswers : public ProcessorFaults, public ::testing::WithParamInterface<ExportAnswer> {};

TEST_P(ExportAnswers, TouchOnlyTheTicketsTheyName) {
    qb.responses = {usualResolution(), GetParam().response};
    ASSERT_TRUE(load());
    activate();
    clickExport();

    EXPECT_EQ(punch(), GetParam().left) << logText();
    EXPECT_EQ(integrity(), "ok");
    const auto complete =
        std::find(controls.lines.begin(), controls.lines.end(), "Export complete.");
    ASSERT_NE(complete, controls.lines.end());
    // After it, one line for each ticket left: refused, or all not processed in one.
    EXPECT_EQ(static_cast<std::size_t>(controls.lines.end() - complete) - 1,
              GetParam().left.empty() ? 0u : 1u);
}

const Strings kAllLeft = {"1|Worker One|Hourly|", "2|Worker One|Overtime|", "3|Worker Two|Hourly|",
                          "4|Worker Two|Hourly|"};

INSTANTIATE_TEST_SUITE_P(
    Responses, ExportAnswers,
    ::testing::Values(
        ExportAnswer{"empty", "", kAllLeft}, ExportAnswer{"garbage", "not a response", kAllLeft},
        ExportAnswer{"otherRequestIDs", exportResponse({{"5", 0}, {"40", 0}, {"0", 0}}), kAllLeft},
        ExportAnswer{"injectedRequestIDs",
                     exportResponse({{"1 or 1=1", 0},
                                     {"2; delete from Punch", 0},
                                     {"3--", 0},
                                     {"0x4", 0},
                                     {"", 0},
                                     {"99999999999", 0}}),
                     kAllLeft},
        ExportAnswer{"injectedRejection",
                     exportResponse({{"1 or 1=1", 3100}, {"2 or Sequence>0", 3100}}), kAllLeft},
        ExportAnswer{"oneAcceptedOneForeign",
                     exportResponse({{"2", 0}, {"7", 3100}}),
                     {"1|Worker One|Hourly|", "3|Worker Two|Hourly|", "4|Worker Two|Hourly|"}},
        ExportAnswer{"noRequestID",
                     "<QBXML><QBXMLMsgsRs><TimeTrackingAddRs statusCode=\"0\" "
                     "statusSeverity=\"Info\" statusMessage=\"OK\"/></QBXMLMsgsRs></QBXML>",
                     kAllLeft}),
    nameOfAnswer);

}  // namespace
}  // namespace vantrell::testing
