#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <sstream>

#include "FaultFixture.h"
#include "shell/cli/CliRun.h"
#include "standins/QbsimCommand.h"

namespace vantrell::testing {
namespace {

// Names a careless statement or document would break on: quotes, comment marks, separators,
// markup, right-to-left and non-Latin letters, and the longest name the accounting system keeps.
const Strings kHostileEmployees = {"O'Brien",
                                   "Ann -- Lee",
                                   "a;b",
                                   "Smith & Sons <Ltd>",
                                   "x' or '1'='1",
                                   "\u05d3\u05d5\u05d3 \u05db\u05d4\u05df",
                                   "\u0645\u0631\u064a\u0645\u200f \u0623\u062d\u0645\u062f",
                                   "\u0141ukasz \u017b\u00f3\u0142\u0107",
                                   "\u674e\u5c0f\u9f99",
                                   std::string(41, 'N')};
const std::string kHostilePayType = "Sick 'paid' -- 1;2 & <x>";

std::string fifty(char c) {
    return std::string(49, c) + "\u00e9";  // 50 characters, 51 bytes
}

// The whole program, run headless against the simulated accounting system.
class HostileNames : public ::testing::Test {
  protected:
    HostileNames() {
        options.dataDir = sandbox.path().string();
        options.chronel = chronel;
        options.company = company;
        qbsim({"create", company});
        qbsim({"add-wage-item", company, "Hourly", kHostilePayType});
    }

    void qbsim(const Strings& args) {
        std::ostringstream listed;
        std::ostringstream problems;
        ASSERT_EQ(standins::runQbsim(args, listed, problems), 0) << problems.str();
    }

    std::string postedTickets() {
        std::ostringstream listed;
        std::ostringstream problems;
        standins::runQbsim({"list-time", company}, listed, problems);
        return listed.str();
    }

    void writeChronel(const Strings& names) {
        sampledata::ChronelWriter writer(chronel);
        sampledata::ExportDefinition definition;
        definition.payTypes = {{"RGSTD", "Hourly"}, {"RGOT1", kHostilePayType}};
        writer.add(definition);
        writer.add(sampledata::AccrualTitles{"Vacation", "Sick", "Personal"});
        for (const auto& name : names) {
            writer.add(sampledata::Day{name, "2026-03-02", 8.0, 0.5, 0.0, {}, 0});
        }
        writer.commit();
    }

    int run() {
        MemorySettings settings;
        FakeClock clock;
        out.str("");
        err.str("");
        return runHeadless(options, settings, clock, out, err);
    }

    Strings staged(const std::string& sql) {
        return fileRows(sandbox.file("Vantrell.mdb").string(), sql);
    }

    Sandbox sandbox;
    std::string chronel = sandbox.file("ChronelV7.mde").string();
    std::string company = sandbox.file("Company.qbw").string();
    CliOptions options;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(HostileNames, AreStagedResolvedAndPostedExactly) {
    writeChronel(kHostileEmployees);
    Strings add = {"add-employee", company};
    add.insert(add.end(), kHostileEmployees.begin(), kHostileEmployees.end());
    qbsim(add);
    options.exportTickets = true;

    EXPECT_EQ(run(), 0) << err.str();
    EXPECT_EQ(out.str(),
              "Click Export to post your time tickets in QuickBooks.\n\nExport complete.\n");
    EXPECT_EQ(staged("select count(*) from Punch"), Strings{"0"});
    const std::string posted = postedTickets();
    for (const auto& name : kHostileEmployees) {
        EXPECT_NE(posted.find("\t" + name + "\tPT8H0M0S\tHourly\n"), std::string::npos) << name;
        EXPECT_NE(posted.find("\t" + name + "\tPT0H30M0S\t" + kHostilePayType + "\n"),
                  std::string::npos)
            << name;
    }
}

TEST_F(HostileNames, ThatTheAccountingSystemCannotHoldStayIssuesAndTooLongOnesAreRefused) {
    const std::string bell = "Bell\x07Ringer";
    writeChronel({fifty('A'), fifty('B') + "X", bell, "Worker One"});
    qbsim({"add-employee", company, "Worker One"});

    EXPECT_EQ(run(), 0) << err.str();
    // The day whose name does not fit cannot be staged: the stage is incomplete.
    EXPECT_EQ(out.str(), "Missing Employee " + fifty('A') + "\nMissing Employee " + bell +
                             "\nThe time data could not be read completely: \"" + fifty('B') +
                             "X\" on 2026-03-02 could not be staged; see VantrellLog.txt.\n\nThere "
                             "are 3 issues requiring resolution.\n");
    // The 51-character name does not fit the stage: its tickets are refused one by one.
    EXPECT_EQ(staged("select Name from Punch group by Name order by Name"),
              (Strings{fifty('A'), bell, "Worker One"}));
    EXPECT_NE(err.str().find("CreateWorkRecord"), std::string::npos) << err.str();
    EXPECT_EQ(integrityOf(sandbox.file("Vantrell.mdb").string()), "ok");
}

class HostileResponses : public ProgramFixture {
  protected:
    HostileResponses() {
        writeChronel(usualDays());
        EXPECT_TRUE(load());
    }

    // Runs the resolution with `response` as the accounting system's answer.
    void resolveWith(std::string response) {
        qb.responses = {std::move(response)};
        activate();
    }
};

TEST_F(HostileResponses, AStatusMessageOfAnyTextIsStoredWholeAndTouchesOnlyItsTicket) {
    const std::string message =
        "'; delete from Punch; -- & <b> \u202eevil\u202c \u05e9\u05dc\u05d5\u05dd " +
        std::string(300, 'z');
    qb.responses = {usualResolution(), exportResponse({{"2", 3100}}, message)};
    activate();
    clickExport();

    // The first 255 characters, not bytes.
    const std::string prefix = message.substr(0, message.size() - 300);
    const auto prefixCharacters = std::count_if(prefix.begin(), prefix.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    });
    const std::string stored =
        prefix + std::string(255 - static_cast<std::size_t>(prefixCharacters), 'z');
    EXPECT_EQ(punch(), (Strings{"1|Worker One|Hourly|", "2|Worker One|Overtime|" + stored,
                                "3|Worker Two|Hourly|", "4|Worker Two|Hourly|"}));
}

TEST_F(HostileResponses, AHundredThousandElementsAreWalkedToTheEnd) {
    std::string records;
    for (int i = 0; i < 100000; ++i) {
        records += "<EmployeeRet><ListID>" + std::to_string(i) + "</ListID><Name>Employee " +
                   std::to_string(i) + "</Name></EmployeeRet>";
    }
    records += "<EmployeeRet><Name>Worker Two</Name></EmployeeRet>";
    const auto start = std::chrono::steady_clock::now();
    resolveWith(
        "<QBXML><QBXMLMsgsRs><EmployeeQueryRs requestID=\"1\" statusCode=\"0\" "
        "statusSeverity=\"Info\" statusMessage=\"OK\">" +
        records + "</EmployeeQueryRs></QBXMLMsgsRs></QBXML>");

    EXPECT_EQ(employees(), Strings{"Worker One"});
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(120));
}

TEST_F(HostileResponses, ADeeplyNestedResponseIsReadWithoutRecursion) {
    const int depth = 200000;
    std::string nested;
    for (int i = 0; i < depth; ++i) {
        nested += "<a>";
    }
    nested += "Worker One";
    for (int i = 0; i < depth; ++i) {
        nested += "</a>";
    }
    resolveWith(
        "<QBXML><QBXMLMsgsRs><EmployeeQueryRs requestID=\"1\" statusCode=\"0\" "
        "statusSeverity=\"Info\" statusMessage=\"OK\"><EmployeeRet><Name>" +
        nested + "</Name></EmployeeRet></EmployeeQueryRs></QBXMLMsgsRs></QBXML>");

    // The text of the Name element is the text below it, however deep.
    EXPECT_EQ(employees(), Strings{"Worker Two"});
}

// Tricks of the document type: nothing is fetched, nothing is expanded, no name is reached
// through them. Worker Two is named plainly in each, as a control: an answer whose document
// type has an internal subset is refused whole (its entities would stand unexpanded in the
// names), one with only an external identifier is read without fetching it.
class EntityTricks : public HostileResponses, public ::testing::WithParamInterface<const char*> {};

TEST_P(EntityTricks, ExpandNothingAndFetchNothing) {
    t.sandbox.write("secret.txt", "Worker One");
    std::string doctype = GetParam();
    const auto at = doctype.find("SECRET");
    if (at != std::string::npos) {
        doctype.replace(at, 6, t.sandbox.file("secret.txt").string());
    }
    const auto start = std::chrono::steady_clock::now();
    resolveWith("<?xml version=\"1.0\"?>" + doctype +
                "<QBXML><QBXMLMsgsRs><EmployeeQueryRs requestID=\"1\" statusCode=\"0\" "
                "statusSeverity=\"Info\" statusMessage=\"OK\"><EmployeeRet><Name>&e;</Name>"
                "</EmployeeRet><EmployeeRet><Name>Worker Two</Name></EmployeeRet>"
                "</EmployeeQueryRs></QBXMLMsgsRs></QBXML>");

    const bool subset = doctype.find('[') != std::string::npos;
    EXPECT_EQ(employees(), subset ? (Strings{"Worker One", "Worker Two"}) : Strings{"Worker One"});
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

INSTANTIATE_TEST_SUITE_P(
    Doctypes, EntityTricks,
    ::testing::Values(
        "<!DOCTYPE QBXML [<!ENTITY e SYSTEM \"file://SECRET\">]>",
        "<!DOCTYPE QBXML [<!ENTITY % p SYSTEM \"file://SECRET\"> %p;]>",
        "<!DOCTYPE QBXML SYSTEM \"file://SECRET\">",
        "<!DOCTYPE QBXML [<!ENTITY e \"Worker One\">]>",
        "<!DOCTYPE QBXML [<!ENTITY a \"aaaaaaaaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\">"
        "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;\"><!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;\">"
        "<!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\">]>"));

// Characters that XML forbids, written raw or as references, make the whole answer unreadable:
// a name cut short at a zero character must not reach the row of the name before it.
class ForbiddenCharacters : public HostileResponses,
                            public ::testing::WithParamInterface<const char*> {};

TEST_P(ForbiddenCharacters, RefuseTheResponseAndTouchNoName) {
    resolveWith(std::string("<QBXML><QBXMLMsgsRs><EmployeeQueryRs requestID=\"1\" "
                            "statusCode=\"0\" statusSeverity=\"Info\" statusMessage=\"OK\">"
                            "<EmployeeRet><Name>Worker Two</Name></EmployeeRet>"
                            "<EmployeeRet><Name>") +
                GetParam() + "</Name></EmployeeRet></EmployeeQueryRs></QBXMLMsgsRs></QBXML>");

    EXPECT_EQ(employees(), (Strings{"Worker One", "Worker Two"}));
    EXPECT_NE(logText().find("loadXML failed, reason: An invalid character"), std::string::npos)
        << logText();
}

INSTANTIATE_TEST_SUITE_P(Names, ForbiddenCharacters,
                         ::testing::Values("Worker One&#0;and more", "Worker One&#x0;",
                                           "Worker One&#4294967296;", "Worker One&#x100000000;",
                                           "Worker One&#1;", "Worker One\x01", "Worker One\x1f",
                                           "Worker One&#xFFFE;"));

}  // namespace
}  // namespace vantrell::testing
