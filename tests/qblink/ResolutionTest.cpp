#include <gtest/gtest.h>

#include <filesystem>

#include "LinkFixture.h"
#include "shell/window/ExportButton.h"
#include "shell/window/IssueList.h"

namespace vantrell::testing {
namespace {

using Strings = std::vector<std::string>;

constexpr const char* kQuery =
    "<?xml version='1.0' ?>"
    "<!DOCTYPE QBXML PUBLIC '-//INTUIT//DTD QBXML QBD 1.0//EN' 'http://developer.intuit.com'>"
    "<QBXML><QBXMLMsgsRq onError = 'stopOnError'>"
    "<EmployeeQueryRq requestID = 'Employee' />"
    "<PayrollItemWageQueryRq requestID = 'PayTypes' />"
    "</QBXMLMsgsRq></QBXML>";

std::string queryRs(const std::string& kind, const std::string& returnElement,
                    const Strings& names) {
    if (names.empty()) {
        return "<" + kind + "QueryRs requestID=\"" + kind +
               "\" statusCode=\"1\" statusSeverity=\"Info\" statusMessage=\"A query request did "
               "not find a matching object in QuickBooks\" />\n";
    }
    std::string text = "<" + kind + "QueryRs requestID=\"" + kind +
                       "\" statusCode=\"0\" statusSeverity=\"Info\" statusMessage=\"Status OK\">\n";
    for (const std::string& name : names) {
        text += "<" + returnElement + ">\n<ListID>80000001-1</ListID>\n<Name>" + name +
                "</Name>\n</" + returnElement + ">\n";
    }
    return text + "</" + kind + "QueryRs>\n";
}

std::string knownNames(const Strings& employees, const Strings& wageItems) {
    return qbxmlResponse(queryRs("Employee", "EmployeeRet", employees) +
                         queryRs("PayrollItemWage", "PayrollItemWageRet", wageItems));
}

class Resolution : public LinkFixture {};

TEST_F(Resolution, SendsTheFixedQueryAndDeletesEveryReturnedName) {
    stageNames("Employee", {"Ann", "Bob", "Cy"});
    stageNames("PayType", {"Hourly", "Sick"});
    const std::string answer = knownNames({"Ann", "Cy", "Dee"}, {"Hourly", "Overtime"});
    qb.responses.push_back(answer);
    link.ticket = "{t}";

    link.ResolveWithQB();

    EXPECT_EQ(qb.requests, Strings{kQuery});
    EXPECT_EQ(qb.calls, Strings{"ProcessRequest {t}"});
    EXPECT_EQ(link.requestXML, kQuery);
    EXPECT_EQ(link.responseXML, answer);
    EXPECT_EQ(t.sandbox.read("ResolveReq.txt"), "\"" + std::string(kQuery) + "\"\r\n");
    EXPECT_EQ(t.sandbox.read("ResolveResp.txt"), "\"" + answer + "\"\r\n");
    EXPECT_EQ(names("Employee"), Strings{"Bob"});
    EXPECT_EQ(names("PayType"), Strings{"Sick"});
    EXPECT_EQ(logText(), "");
}

TEST_F(Resolution, NoEmployeesAtAllLeavesThemListedAndStillResolvesPayTypes) {
    stageNames("Employee", {"Ann"});
    stageNames("PayType", {"Hourly"});
    qb.responses.push_back(knownNames({}, {"Hourly"}));

    link.ResolveWithQB();
    EXPECT_EQ(link.answerNotes, Strings{"No EmployeeQueryRs found by Quickbooks"});
    ShowIssues(t.log, link, controls);

    EXPECT_EQ(names("PayType"), Strings{});
    EXPECT_EQ(controls.lines,
              (Strings{"Missing Employee Ann", "", "There are 1 issues requiring resolution."}));
}

TEST_F(Resolution, AnUnansweredQueryListsThatTheNamesCouldNotBeChecked) {
    stageNames("Employee", {"Ann"});
    stageNames("PayType", {"Hourly"});
    link.responseXML = "earlier";
    qb.failures["ProcessRequest"] =
        "The \"BeginSession\" method has not been called or it did "
        "not succeed.";

    link.ResolveWithQB();
    ShowIssues(t.log, link, controls);

    EXPECT_EQ(logText(),
              std::string(kStamp) + "ResolveWithQB " + qb.failures["ProcessRequest"] + "\r\n \r\n");
    EXPECT_EQ(link.responseXML, "earlier");
    EXPECT_FALSE(std::filesystem::exists(t.sandbox.file("ResolveResp.txt")));
    // The names stay, but none is said to be missing: whether QuickBooks holds them is unknown.
    EXPECT_EQ(names("Employee"), Strings{"Ann"});
    EXPECT_EQ(controls.lines,
              (Strings{"The names could not be checked against QuickBooks; see VantrellLog.txt.",
                       "", "There are 1 issues requiring resolution."}));
    EXPECT_FALSE(controls.enabled[WindowButton::Export]);
}

TEST_F(Resolution, AnUnwritableRequestTraceKeepsTheQueryFromBeingSent) {
    std::filesystem::create_directory(t.sandbox.file("ResolveReq.txt"));
    link.ResolveWithQB();
    EXPECT_TRUE(qb.requests.empty());
    EXPECT_EQ(qb.created, 0);
    EXPECT_NE(logText().find("ResolveWithQB "), std::string::npos);
}

struct IssueCase {
    const char* name;
    Strings employees;
    Strings payTypes;
    Strings lines;
    bool exportEnabled;
};

TEST_F(Resolution, ShowIssuesListsWhatIsLeftAndSetsTheButtons) {
    const IssueCase cases[] = {
        {"nothing missing",
         {},
         {},
         {"Click Export to post your time tickets in QuickBooks."},
         true},
        {"one employee",
         {"Zed Doe"},
         {},
         {"Missing Employee Zed Doe", "", "There are 1 issues requiring resolution."},
         false},
        {"two employees and a pay type, listed in name order",
         {"Yves", "Abe"},
         {"Vacation"},
         {"Missing Employee Abe", "Missing Employee Yves", "Mising Pay Type Vacation", "",
          "There are 3 issues requiring resolution."},
         false},
        {"an empty name is an issue too",
         {""},
         {},
         {"Missing Employee ", "", "There are 1 issues requiring resolution."},
         false},
    };
    for (const IssueCase& c : cases) {
        SCOPED_TRACE(c.name);
        interfaceDb.cnInterface->execute("delete from Employee");
        interfaceDb.cnInterface->execute("delete from PayType");
        stageNames("Employee", c.employees);
        stageNames("PayType", c.payTypes);
        controls.lines = {"left from before"};
        controls.events.clear();

        ShowIssues(t.log, link, controls);

        EXPECT_EQ(controls.lines, c.lines);
        const Strings buttons(controls.events.end() - 3, controls.events.end());
        EXPECT_EQ(buttons, c.exportEnabled ? (Strings{"Export on", "Close on", "Print off"})
                                           : (Strings{"Export off", "Close on", "Print on"}));
        EXPECT_EQ(controls.events.front(), "clear");
    }
    EXPECT_EQ(logText(), "");
}

TEST_F(Resolution, ShowIssuesStopsAtAFailureAndKeepsTheButtons) {
    stageNames("Employee", {"Ann"});
    controls.failingEvents = {"Export off"};
    ShowIssues(t.log, link, controls);
    EXPECT_EQ(controls.lines,
              (Strings{"Missing Employee Ann", "", "There are 1 issues requiring resolution."}));
    EXPECT_FALSE(controls.enabled[WindowButton::Print]);
    EXPECT_EQ(logText(), std::string(kStamp) + "ShowIssues Control failed: Export off\r\n \r\n");

    controls.failingEvents.clear();
    interfaceDb.cnInterface->execute("drop table PayType");
    ShowIssues(t.log, link, controls);
    EXPECT_EQ(controls.lines, Strings{"Missing Employee Ann"});
    EXPECT_NE(logText().find("ShowIssues no such table: PayType"), std::string::npos);
}

TEST_F(Resolution, EachActivationAsksAgainAndRebuildsTheList) {
    stageNames("Employee", {"Ann", "Bob"});
    qb.responses = {knownNames({"Ann"}, {}), knownNames({"Bob"}, {})};
    for (int activation = 0; activation < 2; ++activation) {
        link.ResolveWithQB();
        ShowIssues(t.log, link, controls);
    }
    EXPECT_EQ(qb.requests.size(), 2u);
    EXPECT_EQ(controls.lines, Strings{"Click Export to post your time tickets in QuickBooks."});
}

}  // namespace
}  // namespace vantrell::testing
