#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "interfacedb/Connection.h"
#include "interfacedb/ConnectionString.h"
#include "interfacedb/Value.h"
#include "shell/ChronelFixture.h"
#include "shell/CliFixture.h"

namespace vantrell {
namespace {

using testing::CliRun;
using testing::linesOf;
using Lines = std::vector<std::string>;

constexpr const char* kOneIssue = "There are 1 issues requiring resolution.";

// The issue list says under a missing name why the accounting system does not offer it: a
// company file set up by qbsim, a time-and-attendance file staging the names of each case on
// one day under one wage item, and vantrell-cli run on both.
struct NameHints : testing::CliFixture {
    void SetUp() override { qbsim({"create", company}); }

    // Stages `staged` (8 hours each on 2026-03-02) under the wage item `wageItem`.
    void stage(const Lines& staged, const std::string& wageItem = "Hourly") {
        testing::writeSmallChronelFile(chronel, staged.at(0));
        db::Connection cn;
        cn.open(db::connectionStringFor(chronel));
        for (std::size_t i = 1; i < staged.size(); ++i) {
            cn.execute("insert into REPORTDATA values (?, '2026-03-02', 8, 0, 0, NULL, 0)",
                       {db::Value(staged[i])});
        }
        cn.execute("update EXPORTDFN set RGSTD = ?", {db::Value(wageItem)});
    }

    void add(const char* command, const Lines& names) {
        if (!names.empty()) {
            Lines args = {command, company};
            args.insert(args.end(), names.begin(), names.end());
            qbsim(args);
        }
    }
};

// One company file and what is staged against it, and the list that results.
struct HintCase {
    const char* what;
    Lines employees;
    Lines wageItems;
    Lines otherPayrollItems;
    Lines inactive;
    Lines staged;
    std::string stagedWageItem;
    Lines list;
};

class Hints : public NameHints, public ::testing::WithParamInterface<HintCase> {};

TEST_P(Hints, StandUnderTheirNameAndCountNoIssue) {
    const HintCase& c = GetParam();
    add("add-employee", c.employees);
    add("add-wage-item", c.wageItems);
    add("add-nonwage-item", c.otherPayrollItems);
    add("set-inactive", c.inactive);
    stage(c.staged, c.stagedWageItem);

    const CliRun run = cliWithFiles();
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(linesOf(run.out), c.list) << c.what;
    EXPECT_EQ(run.err, "") << c.what;
    EXPECT_EQ(programFile("VantrellLog.txt"), "") << c.what;
    // Nothing was added, renamed or posted in the accounting system.
    EXPECT_EQ(postedTickets(), Lines{}) << c.what;
    EXPECT_NE(programFile("HintReq.txt").find("<PayrollItemNonWageQueryRq requestID=\"3\">"),
              std::string::npos)
        << c.what;
}

// 50 characters, as many as the stage keeps of a name.
const std::string kLongest = "Grace" + std::string(39, ' ') + "Okafor";

INSTANTIATE_TEST_SUITE_P(
    Cases, Hints,
    ::testing::Values(
        HintCase{"inactive employee",
                 {"Grace Okafor", "Worker One"},
                 {"Hourly"},
                 {},
                 {"Grace Okafor"},
                 {"Worker One", "Grace Okafor"},
                 "Hourly",
                 {"Missing Employee Grace Okafor", "  QuickBooks has this employee, but inactive.",
                  "", kOneIssue}},
        HintCase{"inactive wage item",
                 {"Worker One"},
                 {"Hourly"},
                 {},
                 {"Hourly"},
                 {"Worker One"},
                 "Hourly",
                 {"Mising Pay Type Hourly", "  QuickBooks has this wage item, but inactive.", "",
                  kOneIssue}},
        HintCase{"letter case, word order and a middle initial",
                 {"OKAFOR, grace", "Tomasz J. Kowalczyk", "Kowalczyk Tomasz", "Worker One"},
                 {"Hourly"},
                 {},
                 {"Kowalczyk Tomasz"},
                 {"Grace Okafor", "Tomasz Kowalczyk", "Worker One"},
                 "Hourly",
                 {"Missing Employee Grace Okafor", "  QuickBooks has a close name: OKAFOR, grace",
                  "Missing Employee Tomasz Kowalczyk",
                  "  QuickBooks has close names: Tomasz J. Kowalczyk, Kowalczyk Tomasz (inactive)",
                  "", "There are 2 issues requiring resolution."}},
        HintCase{"accents folded either way",
                 {"Zoë Łukasz", "Jose Nunez"},
                 {"Sick Pay"},
                 {},
                 {},
                 {"Zoe Lukasz", "José Núñez"},
                 "Sick Pay",
                 {"Missing Employee José Núñez", "  QuickBooks has a close name: Jose Nunez",
                  "Missing Employee Zoe Lukasz", "  QuickBooks has a close name: Zoë Łukasz", "",
                  "There are 2 issues requiring resolution."}},
        HintCase{"nothing close, nothing said",
                 {"Grace Okafor", "Worker One"},
                 {"Hourly"},
                 {"Grace Okafur"},
                 {},
                 {"Grace Okafur", "Worker One"},
                 "Hourly",
                 {"Missing Employee Grace Okafur", "", kOneIssue}},
        HintCase{"a payroll item that is not a wage item",
                 {"Worker One"},
                 {"Hourly"},
                 {"Bonus & <Tips>"},
                 {},
                 {"Worker One"},
                 "bonus & <tips>",
                 {"Mising Pay Type bonus & <tips>",
                  "  QuickBooks has a payroll item of this name that is not a wage item.", "",
                  kOneIssue}},
        HintCase{
            "quotes, ampersands, apostrophes and other scripts",
            {"Ann & <Bob> \"Q\" O'Neil", "Павел Смирнов", "山田 太郎"},
            {"Taux & <heures> \"Q\""},
            {},
            {"山田 太郎"},
            {"o’neil, ann & <bob> \"q\"", "смирнов, павел", "太郎 山田"},
            "taux  &  <heures>  \"q\"",
            {"Missing Employee o’neil, ann & <bob> \"q\"",
             "  QuickBooks has a close name: Ann & <Bob> \"Q\" O'Neil",
             "Missing Employee смирнов, павел", "  QuickBooks has a close name: Павел Смирнов",
             "Missing Employee 太郎 山田", "  QuickBooks has a close name: 山田 太郎 (inactive)",
             "Mising Pay Type taux  &  <heures>  \"q\"",
             "  QuickBooks has a close name: Taux & <heures> \"Q\"", "",
             "There are 4 issues requiring resolution."}},
        HintCase{"the longest name the stage takes",
                 {"Grace Okafor"},
                 {"Hourly"},
                 {},
                 {},
                 {kLongest, std::string(50, 'x')},
                 "Hourly",
                 {"Missing Employee " + kLongest, "  QuickBooks has a close name: Grace Okafor",
                  "Missing Employee " + std::string(50, 'x'), "",
                  "There are 2 issues requiring resolution."}}));

TEST_F(NameHints, NoQuestionWhenNothingIsMissing) {
    add("add-employee", {"Worker One"});
    add("add-wage-item", {"Hourly"});
    stage({"Worker One"});
    const CliRun run = cliWithFiles();
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(linesOf(run.out), Lines{"Click Export to post your time tickets in QuickBooks."});
    EXPECT_FALSE(std::filesystem::exists(sandbox.file("program/HintReq.txt")));
}

// Answers to the hint question that no company file of the simulator gives. One that cannot
// be used loses the hints alone: the fixed lines, the count and the disabled Export stay, and
// the failure is logged under its own procedure. Hostile names read as they are meant.
struct HintAnswerCase {
    const char* what;
    std::string answer;
    Lines list;
    const char* logged;  // nullptr: nothing is logged
};

class ReplayedHints : public NameHints, public ::testing::WithParamInterface<HintAnswerCase> {
  protected:
    // A replay folder answering, in turn, with the texts given.
    std::string replayOf(const Lines& answers) {
        const std::string folder = sandbox.file("replay").string();
        std::filesystem::create_directories(folder);
        for (std::size_t i = 0; i < answers.size(); ++i) {
            sandbox.write("replay/" + std::to_string(i + 1) + ".xml", answers[i]);
        }
        return "replay:" + folder;
    }

    // The answer a trace file holds (the text between the quotes).
    std::string traced(const std::string& name) {
        const std::string trace = programFile(name);
        return trace.substr(1, trace.size() - 4);
    }
};

TEST_P(ReplayedHints, NeverCostMoreThanTheHints) {
    const HintAnswerCase& c = GetParam();
    add("add-employee", {"Worker One", "Grace Okafor"});
    add("add-wage-item", {"Hourly"});
    add("set-inactive", {"Grace Okafor"});
    stage({"Worker One", "Grace Okafor"});
    ASSERT_EQ(cliWithFiles().status, 0);
    // The resolution, then the check of the tickets posted already, then the hint question.
    const std::string folder =
        replayOf({traced("ResolveResp.txt"), traced("CheckResp.txt"), c.answer});
    const std::string resolveRequest = programFile("ResolveReq.txt");

    const CliRun run = cliWithFiles({"--processor", folder, "--export"});
    EXPECT_EQ(run.status, 2) << run.err;
    EXPECT_EQ(linesOf(run.out), c.list) << c.what;
    if (c.logged != nullptr) {
        EXPECT_NE(run.err.find("ExplainMissingNames"), std::string::npos) << run.err;
        EXPECT_NE(programFile("VantrellLog.txt").find(c.logged), std::string::npos)
            << programFile("VantrellLog.txt");
    } else {
        EXPECT_EQ(run.err, "") << c.what;
        EXPECT_EQ(programFile("VantrellLog.txt"), "") << c.what;
    }
    EXPECT_EQ(programFile("ResolveReq.txt"), resolveRequest);
    EXPECT_EQ(traced("HintResp.txt"), c.answer);
    EXPECT_EQ(postedTickets(), Lines{});
}

std::string employeesAnswer(const std::string& records) {
    return "<?xml version=\"1.0\" ?><QBXML><QBXMLMsgsRs><EmployeeQueryRs requestID=\"1\" "
           "statusCode=\"0\" statusSeverity=\"Info\">" +
           records +
           "</EmployeeQueryRs><PayrollItemWageQueryRs requestID=\"2\" statusCode=\"1\" "
           "statusSeverity=\"Info\"/><PayrollItemNonWageQueryRs requestID=\"3\" "
           "statusCode=\"1\" statusSeverity=\"Info\"/></QBXMLMsgsRs></QBXML>";
}

const std::string kSpread = "Grace" + std::string(189, ' ') + "Okafor";  // 200 characters

INSTANTIATE_TEST_SUITE_P(
    Answers, ReplayedHints,
    ::testing::Values(
        HintAnswerCase{"names of 200 characters, escaped, in CDATA and in other scripts",
                       employeesAnswer("<EmployeeRet><Name>" + std::string(200, 'g') +
                                       "</Name></EmployeeRet><EmployeeRet><Name>" + kSpread +
                                       "</Name></EmployeeRet><EmployeeRet><Name>Okafor, "
                                       "Gr&#xE2;ce &amp; &lt;&quot;Co&quot;&gt;</Name>"
                                       "</EmployeeRet><EmployeeRet><Name><![CDATA[GRACE "
                                       "OKAFOR]]></Name><IsActive>false</IsActive>"
                                       "</EmployeeRet>"),
                       {"Missing Employee Grace Okafor",
                        "  QuickBooks has this employee, but inactive.", "", kOneIssue},
                       nullptr},
        HintAnswerCase{"the close names of 200 characters",
                       employeesAnswer("<EmployeeRet><Name>" + kSpread +
                                       "</Name></EmployeeRet><EmployeeRet><Name>Okafor, "
                                       "Gr&#xE2;ce</Name></EmployeeRet>"),
                       {"Missing Employee Grace Okafor",
                        "  QuickBooks has close names: Okafor, Grâce, " + kSpread, "", kOneIssue},
                       nullptr},
        HintAnswerCase{"garbage",
                       "<QBXML><QBXMLMsgsRs>",
                       {"Missing Employee Grace Okafor", "", kOneIssue},
                       "could not be read"},
        HintAnswerCase{"the whole question refused",
                       "<?xml version=\"1.0\" ?><QBXML><QBXMLMsgsRs><EmployeeQueryRs "
                       "requestID=\"1\" statusCode=\"3250\" statusSeverity=\"Error\" "
                       "statusMessage=\"Payroll &amp; time: not enabled\"/></QBXMLMsgsRs>"
                       "</QBXML>",
                       {"Missing Employee Grace Okafor", "", kOneIssue},
                       "Payroll & time: not enabled"},
        HintAnswerCase{"the other payroll items refused: the employees still explain",
                       "<?xml version=\"1.0\" ?><QBXML><QBXMLMsgsRs><EmployeeQueryRs "
                       "requestID=\"1\" statusCode=\"0\" statusSeverity=\"Info\"><EmployeeRet>"
                       "<Name>Grace Okafor</Name><IsActive>false</IsActive></EmployeeRet>"
                       "</EmployeeQueryRs><PayrollItemWageQueryRs requestID=\"2\" "
                       "statusCode=\"1\" statusSeverity=\"Info\"/><PayrollItemNonWageQueryRs "
                       "requestID=\"3\" statusCode=\"3262\" statusSeverity=\"Error\" "
                       "statusMessage=\"No payroll subscription\"/></QBXMLMsgsRs></QBXML>",
                       {"Missing Employee Grace Okafor",
                        "  QuickBooks has this employee, but inactive.", "", kOneIssue},
                       "No payroll subscription"}));

}  // namespace
}  // namespace vantrell
