#include <gtest/gtest.h>

#include <sstream>

#include "LinkFixture.h"
#include "shell/window/ExportButton.h"
#include "shell/window/IssueList.h"
#include "standins/ProcessorChoice.h"
#include "standins/QbsimCommand.h"

namespace vantrell::testing {
namespace {

using Strings = std::vector<std::string>;

// Resolution and export against the simulated accounting system and a company file made with
// its tool, as the window's activate and Export button run them.
class EndToEnd : public LinkFixture {
  protected:
    EndToEnd() {
        companyFile = t.sandbox.file("Company.qbw").string();
        qbsim({"create", companyFile});
        qbsim({"add-employee", companyFile, "Worker One", "O'Brien & <Sons>", "Łukasz Żółć"});
        qbsim({"add-wage-item", companyFile, "Hourly", "Sick \"paid\""});
        strQBdata = companyFile;
    }

    std::string qbsim(const Strings& args) {
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(standins::runQbsim(args, out, err), 0) << err.str();
        return out.str();
    }

    struct Ticket {
        std::string name;
        float hours;
        std::string payType;
    };

    // Stages the tickets and, as the extraction does, the distinct names they use.
    void stage(const std::vector<Ticket>& tickets) {
        int sequence = 0;
        for (const Ticket& ticket : tickets) {
            stagePunch(++sequence, ticket.name, "2026-03-02", ticket.hours, ticket.payType);
        }
        interfaceDb.cnInterface->execute(
            "insert into Employee (Name) select distinct Name from Punch");
        interfaceDb.cnInterface->execute(
            "insert into PayType (Name) select distinct PayType from Punch");
    }

    std::string companyFile;
    QuickBooksLink simulated{t.log, interfaceDb, extraction, strQBdata, processorFactoryFor("sim")};
};

TEST_F(EndToEnd, KnownNamesAreResolvedAndEveryTicketIsPosted) {
    stage({{"Worker One", 8.0f, "Hourly"},
           {"O'Brien & <Sons>", 7.5f, "Sick \"paid\""},
           {"Łukasz Żółć", 0.25f, "Hourly"}});

    ASSERT_TRUE(simulated.OpenQBConnection());
    simulated.ResolveWithQB();
    ShowIssues(t.log, simulated, controls);
    EXPECT_EQ(controls.lines, Strings{"Click Export to post your time tickets in QuickBooks."});
    EXPECT_TRUE(controls.enabled[WindowButton::Export]);

    cmdExport_Click(t.log, simulated, controls);
    simulated.CloseQBConnection();

    EXPECT_EQ(punchRows(), Strings{});
    EXPECT_EQ(controls.lines, (Strings{"Click Export to post your time tickets in QuickBooks.", "",
                                       "Export complete."}));
    EXPECT_EQ(qbsim({"list-time", companyFile}),
              "2026-03-02\tWorker One\tPT8H0M0S\tHourly\n"
              "2026-03-02\tO'Brien & <Sons>\tPT7H30M0S\tSick \"paid\"\n"
              "2026-03-02\tŁukasz Żółć\tPT0H15M0S\tHourly\n");
    EXPECT_FALSE(simulated.blnQBConnected);
    EXPECT_EQ(logText(), "");
}

TEST_F(EndToEnd, StopOnErrorKeepsTheRefusedTicketAndTheOnesAfterIt) {
    qbsim({"add-employee", companyFile, "Gone Away"});
    qbsim({"set-inactive", companyFile, "Gone Away"});
    stage({{"Worker One", 8.0f, "Hourly"},
           {"Gone Away", 4.0f, "Hourly"},
           {"Worker One", 2.0f, "Hourly"}});

    ASSERT_TRUE(simulated.OpenQBConnection());
    simulated.ResolveWithQB();
    ShowIssues(t.log, simulated, controls);
    EXPECT_EQ(controls.lines, (Strings{"Missing Employee Gone Away", "",
                                       "There are 1 issues requiring resolution."}));
    EXPECT_FALSE(controls.enabled[WindowButton::Export]);

    cmdExport_Click(t.log, simulated, controls);

    EXPECT_EQ(punchRows(),
              (Strings{"2|There is an invalid reference to QuickBooks Employee \"Gone Away\" in "
                       "the TimeTracking.  QuickBooks error message: Invalid argument.  The "
                       "specified record does not exist in the list.",
                       "3|The request has not been processed."}));
    EXPECT_EQ(qbsim({"list-time", companyFile}), "2026-03-02\tWorker One\tPT8H0M0S\tHourly\n");
    EXPECT_EQ(logText(), "");
}

}  // namespace
}  // namespace vantrell::testing
