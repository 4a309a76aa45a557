#include <gtest/gtest.h>

#include "LinkFixture.h"
#include "support/XmlText.h"

namespace vantrell::testing {
namespace {

using Strings = std::vector<std::string>;

std::string ticketRs(const std::string& requestID, const std::string& code,
                     const std::string& message = "Status OK") {
    return "<TimeTrackingAddRs requestID=\"" + xmlEscaped(requestID) + "\" statusCode=\"" + code +
           "\" statusSeverity=\"" + (code == "0" ? "Info" : "Error") + "\" statusMessage=\"" +
           xmlEscaped(message) + "\" />\n";
}

std::string employeeRs(const std::string& code, const Strings& names,
                       const std::string& message = "Status OK") {
    std::string text = "<EmployeeQueryRs requestID=\"Employee\" statusCode=\"" + code +
                       "\" statusSeverity=\"Info\" statusMessage=\"" + xmlEscaped(message) +
                       "\">\n";
    for (const std::string& name : names) {
        text += "<EmployeeRet><Name>" + xmlEscaped(name) +
                "</Name><IsActive>true</IsActive></EmployeeRet>\n";
    }
    return text + "</EmployeeQueryRs>\n";
}

class Parser : public LinkFixture {
  protected:
    bool parseTickets(const std::string& elements) {
        link.responseXML = qbxmlResponse(elements);
        return link.ParseResponseXML("TimeTrackingAddRs", "TimeTrackingRet");
    }
    bool parseEmployees(const std::string& elements) {
        link.responseXML = qbxmlResponse(elements);
        return link.ParseResponseXML("EmployeeQueryRs", "EmployeeRet");
    }
    void stageTickets(std::initializer_list<int> sequences) {
        for (int sequence : sequences) {
            stagePunch(sequence, "Worker One", "2026-03-02", 8.0f, "Hourly");
        }
    }
};

TEST_F(Parser, TicketStatusesDeleteAcceptedRowsAndMarkTheRest) {
    stageTickets({1, 2, 3, 4, 5});
    const std::string refused =
        "There is an invalid reference to QuickBooks Employee \"Worker One\" in the TimeTracking.";
    const bool result =
        parseTickets(ticketRs("1", "0") + ticketRs("2", "3140", refused) + ticketRs("3", "0") +
                     ticketRs("4", "1", "one is not zero") + ticketRs("5", " 0", "padded zero"));
    EXPECT_TRUE(result);
    EXPECT_EQ(punchRows(), (Strings{"2|" + refused, "4|one is not zero", "5|padded zero"}));
    EXPECT_EQ(logText(), "");
}

// Two answers for one ticket, one of them a refusal: the ticket never leaves the stage on the
// strength of the other, whichever comes first.
TEST_F(Parser, ContradictoryAnswersForOneTicketKeepItWithTheRefusal) {
    stageTickets({1, 2, 3});
    EXPECT_TRUE(parseTickets(ticketRs("1", "3100", "Refused first.") + ticketRs("1", "0") +
                             ticketRs("2", "0") + ticketRs("2", "3170", "Refused after.") +
                             ticketRs("3", "0") + ticketRs("3", "0")));
    EXPECT_EQ(punchRows(), (Strings{"1|Refused first.", "2|Refused after."}));

    // A requestID is a ticket number, whatever zeros it starts with: "1" accepted beside "01"
    // refused are two answers for ticket 1.
    stageTickets({4, 5});
    EXPECT_TRUE(parseTickets(ticketRs("4", "0") + ticketRs("04", "3100", "Refused as 04.") +
                             ticketRs("005", "3170", "Refused as 005.") + ticketRs("5", "0")));
    EXPECT_EQ(punchRows(), (Strings{"1|Refused first.", "2|Refused after.", "4|Refused as 04.",
                                    "5|Refused as 005."}));
}

struct QueryStatusCase {
    const char* name;
    const char* code;
    bool result;
    Strings lines;
    Strings namesLeft;
};

TEST_F(Parser, QueryStatusesDeleteNamesOrStopTheWalk) {
    const QueryStatusCase cases[] = {
        {"found", "0", true, {}, {}},
        {"nothing found", "1", false, {"No EmployeeQueryRs found by Quickbooks"}, {"Ann", "Zed"}},
        {"warning",
         "500",
         false,
         {"EmployeeQueryRs ERROR Not all \"names\" found"},
         {"Ann", "Zed"}},
        {"case and spaces count",
         "0 ",
         false,
         {"EmployeeQueryRs ERROR Not all \"names\" found"},
         {"Ann", "Zed"}},
    };
    for (const QueryStatusCase& c : cases) {
        SCOPED_TRACE(c.name);
        interfaceDb.cnInterface->execute("delete from Employee");
        stageNames("Employee", {"Ann", "Zed"});
        link.answerNotes.clear();
        // A second element would delete Zed if the walk went on.
        const bool result = parseEmployees(employeeRs(c.code, {"Ann"}, "Not all \"names\" found") +
                                           employeeRs("0", {"Zed"}));
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(link.answerNotes, c.lines);
        EXPECT_EQ(names("Employee"), c.namesLeft);
    }
    EXPECT_EQ(logText(), "");
}

TEST_F(Parser, OnlyNameChildrenOfRecordsAreUsed) {
    stageNames("Employee", {"Ann", "Bea", "Cy", "Dee", "Eve"});
    const bool result = parseEmployees(
        "<EmployeeQueryRs requestID=\"1\" statusCode=\"0\" statusSeverity=\"Info\" "
        "statusMessage=\"Status OK\">"
        "<EmployeeRet><ListID>1</ListID></EmployeeRet>"
        "<EmployeeRet><Name>Ann</Name><Name>Bea</Name></EmployeeRet>"
        "<EmployeeRet><PayScheduleRef><Name>Cy</Name></PayScheduleRef><name>Dee</name></"
        "EmployeeRet>"
        "<employeeret><Name>Eve</Name></employeeret>"
        "</EmployeeQueryRs>");
    EXPECT_TRUE(result);
    EXPECT_EQ(names("Employee"), (Strings{"Cy", "Dee", "Eve"}));
}

TEST_F(Parser, NoMatchingElementChangesNothing) {
    stageTickets({1});
    EXPECT_TRUE(parseTickets(employeeRs("0", {"Worker One"})));
    EXPECT_EQ(punchRows(), Strings{"1|<null>"});
    EXPECT_EQ(logText(), "");
}

TEST_F(Parser, ADocumentThatDoesNotLoadIsOneEntryAndNoChange) {
    const char* documents[] = {
        "",
        "   \r\n",
        "Status OK",
        "<QBXML><QBXMLMsgsRs><TimeTrackingAddRs requestID=\"1\" statusCode=\"0\"",
        "<QBXML></QBXML><QBXML></QBXML>",
        "<QBXML><TimeTrackingAddRs requestID=\"1\" statusCode=\"0\" statusSeverity=\"Info\" "
        "statusMessage=\"\" /></QBXML>trailing text",
        "<QBXML><a></b></QBXML>",
        // Bytes that are not UTF-8 would be stored as they are, where other readers fail.
        "<QBXML><TimeTrackingAddRs requestID=\"1\" statusCode=\"3100\" statusSeverity=\"Error\" "
        "statusMessage=\"caf\xE9\" /></QBXML>",
        "<QBXML><TimeTrackingAddRs requestID=\"1\" statusCode=\"3100\" statusSeverity=\"Error\" "
        "statusMessage=\"\xC0\xAF \xED\xA0\x80 \xF4\x90\x80\x80\" /></QBXML>",
    };
    stageTickets({1});
    for (const char* document : documents) {
        SCOPED_TRACE(document);
        TestLog log;
        ProcessorScript script;
        QuickBooksLink parser(log.log, interfaceDb, extraction, strQBdata, script.factory());
        parser.responseXML = document;
        EXPECT_FALSE(parser.ParseResponseXML("TimeTrackingAddRs", "TimeTrackingRet"));
        const std::string head =
            std::string(kStamp) + "ParseResponseXML \r\n loadXML failed, reason: ";
        EXPECT_EQ(log.logText().substr(0, head.size()), head);
        EXPECT_EQ(log.prompter.shown.size(), 1u);
        EXPECT_TRUE(parser.answerNotes.empty());
    }
    EXPECT_EQ(punchRows(), Strings{"1|<null>"});
}

TEST_F(Parser, StatusMessagesAreCutToTheErrorColumnWidth) {
    std::string accented;
    for (int i = 0; i < 300; ++i) {
        accented += "\xC3\xA9";
    }
    const std::string exact(255, 'b');
    stageTickets({1, 2, 3});
    EXPECT_TRUE(parseTickets(ticketRs("1", "3140", std::string(300, 'a')) +
                             ticketRs("2", "3140", exact) + ticketRs("3", "3140", accented)));
    EXPECT_EQ(punchRows(), (Strings{"1|" + std::string(255, 'a'), "2|" + exact,
                                    "3|" + accented.substr(0, 510)}));
}

TEST_F(Parser, QuotesInMessagesAndNamesStayInsideTheirRow) {
    stageTickets({1, 2});
    const std::string message = "Employee \"O'Brien\" is inactive'; delete from Punch; --";
    EXPECT_TRUE(parseTickets(ticketRs("1", "3140", message)));
    EXPECT_EQ(punchRows(), (Strings{"1|" + message, "2|<null>"}));

    stageNames("Employee", {"O'Brien", "OBrien", "x' or '1'='1"});
    EXPECT_TRUE(parseEmployees(employeeRs("0", {"O'Brien", "x' or '1'='1"})));
    EXPECT_EQ(names("Employee"), Strings{"OBrien"});
    EXPECT_EQ(logText(), "");
}

TEST_F(Parser, HostileNamesAreFoundAgainAndDeleted) {
    const Strings hostile = {"A & B",       "<C>",       "Quote \"D\"",    "D'Angelo",
                             "Łukasz Żółć", "山田 太郎", "Ünïcødé & <'\">"};
    stageNames("Employee", hostile);
    stageNames("Employee", {"Unrelated"});
    EXPECT_TRUE(parseEmployees(employeeRs("0", hostile)));
    EXPECT_EQ(names("Employee"), Strings{"Unrelated"});
    EXPECT_EQ(logText(), "");
}

TEST_F(Parser, ARequestIDThatIsNotATicketNumberTouchesNoRow) {
    stageTickets({1, 2, 3});
    const bool result = parseTickets(ticketRs("1 or 1=1", "0") +
                                     ticketRs("2; drop table Punch", "0") + ticketRs("3", "0"));
    // The walk goes on after the failed steps and ends with True.
    EXPECT_TRUE(result);
    EXPECT_EQ(punchRows(), (Strings{"1|<null>", "2|<null>"}));
    EXPECT_EQ(logText(),
              std::string(kStamp) +
                  "in ParseResponseXML : TimeTrackingRet : Process Time Tracking Return The "
                  "requestID \"1 or 1=1\" is not a ticket number.\r\n \r\n" +
                  kStamp +
                  "in ParseResponseXML : TimeTrackingRet : Process Time Tracking Return The "
                  "requestID \"2; drop table Punch\" is not a ticket number.\r\n \r\n");
}

TEST_F(Parser, AFailureAfterARejectionIsLoggedWithTheRejectionsMessage) {
    stageTickets({1, 2});
    const bool result = parseTickets(ticketRs("1", "3140", "Invalid reference") +
                                     ticketRs("2 or 1=1", "3140", "Also refused"));
    EXPECT_TRUE(result);
    EXPECT_EQ(punchRows(), (Strings{"1|Invalid reference", "2|<null>"}));
    EXPECT_EQ(logText(), std::string(kStamp) +
                             "ParseResponseXML The requestID \"2 or 1=1\" is not a ticket "
                             "number.\r\n Also refused\r\n");
    EXPECT_EQ(t.prompter.shown.at(0).text,
              "Also refused\r\nThe requestID \"2 or 1=1\" is not a ticket number.\r\n"
              "ParseResponseXML");
}

TEST_F(Parser, ARefusedStatementIsLoggedWithItsStepAndTheWalkGoesOn) {
    stageNames("PayType", {"Hourly"});
    interfaceDb.cnInterface->execute("drop table Employee");
    EXPECT_TRUE(parseEmployees(employeeRs("0", {"Ann", "Bob"})));
    const std::string entry = std::string(kStamp) +
                              "in ParseResponseXML : EmployeeRet : examine each child object no "
                              "such table: Employee\r\n \r\n";
    EXPECT_EQ(logText(), entry + entry);
    ASSERT_EQ(t.prompter.shown.size(), 2u);
    EXPECT_EQ(t.prompter.shown[0].text,
              "no such table: Employee\r\nin ParseResponseXML : EmployeeRet : examine each child "
              "object");
}

TEST_F(Parser, AMissingAttributeIsAFailedStepAndNeverBorrowsTheLastValue) {
    stageTickets({1, 2});
    // The second element has no requestID: it must not reach row 1, which was refused.
    const bool result = parseTickets(ticketRs("1", "3140", "Refused") +
                                     "<TimeTrackingAddRs statusCode=\"0\" statusSeverity=\"Info\" "
                                     "statusMessage=\"Status OK\" />\n" +
                                     ticketRs("2", "0"));
    EXPECT_TRUE(result);
    EXPECT_EQ(punchRows(), Strings{"1|Refused"});
    const std::string twice = std::string(kStamp) +
                              "ParseResponseXML The response element has no attribute "
                              "requestID.\r\n Refused\r\n" +
                              kStamp +
                              "ParseResponseXML The requestID \"\" is not a ticket number.\r\n "
                              "Refused\r\n";
    EXPECT_EQ(logText(), twice);

    TestLog log;
    QuickBooksLink fresh(log.log, interfaceDb, extraction, strQBdata, qb.factory());
    fresh.responseXML = qbxmlResponse("<TimeTrackingAddRs requestID=\"1\" statusCode=\"0\" />");
    EXPECT_TRUE(fresh.ParseResponseXML("TimeTrackingAddRs", "TimeTrackingRet"));
    const std::string missing = std::string(kStamp) +
                                "in ParseResponseXML : TimeTrackingRet : Set Attribute Map for "
                                "TimeTrackingAddRs The response element has no attribute ";
    EXPECT_EQ(log.logText(),
              missing + "statusSeverity.\r\n \r\n" + missing + "statusMessage.\r\n \r\n");
    EXPECT_EQ(punchRows(), Strings{});
}

TEST_F(Parser, AHundredThousandElementsAreWalkedWhole) {
    stageTickets({1, 32768, 32769, 65536, 99999, 100000, 100001});
    std::string elements;
    elements.reserve(100000 * 110);
    for (int id = 1; id <= 100000; ++id) {
        elements += id == 100000 ? ticketRs(std::to_string(id), "3140", "The last one")
                                 : ticketRs(std::to_string(id), "0");
    }
    EXPECT_TRUE(parseTickets(elements));
    EXPECT_EQ(punchRows(), (Strings{"100000|The last one", "100001|<null>"}));
    EXPECT_EQ(logText(), "");
}

// Runs of accepted tickets of every length around what leaves the stage in one statement, cut
// by refusals: each accepted ticket leaves with its journal row confirmed, nothing else does.
TEST_F(Parser, RunsOfAcceptedTicketsOfAnyLengthLeaveTheStageExactly) {
    std::string elements;
    Strings left{"1|<null>"};  // staged, and not in the answer
    stagePunch(1, "Worker One", "2026-03-02", 8.0f, "Hourly");
    int sequence = 2;
    for (const int run : {1, 99, 100, 101, 199, 200, 201, 1000, 1001, 250}) {
        for (int i = 0; i < run; ++i, ++sequence) {
            stagePunch(sequence, "Worker One", "2026-03-02", 8.0f, "Hourly");
            elements += "<TimeTrackingAddRs requestID=\"" + std::to_string(sequence) +
                        "\" statusCode=\"0\" statusSeverity=\"Info\" statusMessage=\"OK\">"
                        "<TimeTrackingRet><TxnID>T-" +
                        std::to_string(sequence) +
                        "</TxnID></TimeTrackingRet></TimeTrackingAddRs>\n";
        }
        stagePunch(sequence, "Worker One", "2026-03-02", 8.0f, "Hourly");
        elements += ticketRs(std::to_string(sequence), "3140", "refused");
        left.push_back(std::to_string(sequence) + "|refused");
        ++sequence;
    }
    EXPECT_TRUE(parseTickets(elements));
    EXPECT_EQ(punchRows(), left);
    EXPECT_EQ(rows("select count(*) as N from ExportTicket where State = 'confirmed' and TxnID ="
                   " 'T-' || Sequence",
                   {"N"}),
              Strings{std::to_string(sequence - 1 - static_cast<int>(left.size()))});
    EXPECT_EQ(rows("select count(*) as N from ExportTicket where State = 'refused'", {"N"}),
              Strings{std::to_string(left.size() - 1)});
    EXPECT_EQ(logText(), "");
}

// A ticket the answer accepts twice, in a run long enough to be confirmed many to a statement,
// keeps the TxnID of its first answer, as it does alone.
TEST_F(Parser, ATicketAcceptedTwiceKeepsItsFirstTxnID) {
    std::string elements;
    for (int sequence = 1; sequence <= 300; ++sequence) {
        stagePunch(sequence, "Worker One", "2026-03-02", 8.0f, "Hourly");
    }
    const auto accepted = [](int sequence, const std::string& txnId) {
        return "<TimeTrackingAddRs requestID=\"" + std::to_string(sequence) +
               "\" statusCode=\"0\" statusSeverity=\"Info\" statusMessage=\"OK\">"
               "<TimeTrackingRet><TxnID>" +
               txnId + "</TxnID></TimeTrackingRet></TimeTrackingAddRs>\n";
    };
    for (int sequence = 1; sequence <= 300; ++sequence) {
        elements += accepted(sequence, "T-" + std::to_string(sequence));
        if (sequence == 7 || sequence == 150) {
            elements += accepted(sequence, "Again-" + std::to_string(sequence));
        }
    }
    elements += accepted(299, "Again-299");
    EXPECT_TRUE(parseTickets(elements));
    EXPECT_EQ(punchRows(), Strings{});
    EXPECT_EQ(rows("select Sequence, State, TxnID from ExportTicket where State <> 'confirmed'"
                   " or TxnID <> 'T-' || Sequence",
                   {"Sequence", "State", "TxnID"}),
              Strings{});
    EXPECT_EQ(logText(), "");
}

// Accepted tickets are confirmed many to a step: a ticket whose confirmation fails is left
// staged alone, and every other ticket of its step is confirmed with its own TxnID.
TEST_F(Parser, AConfirmationThatFailsLeavesOnlyItsTicketStaged) {
    constexpr int kTickets = 2500;
    for (int sequence = 1; sequence <= kTickets; ++sequence) {
        stagePunch(sequence, "Worker One", "2026-03-02", 8.0f, "Hourly");
    }
    // One TxnID for two tickets is refused by the journal's index: the second cannot be
    // confirmed.
    interfaceDb.cnInterface->execute("create unique index TxnOnce on ExportTicket (TxnID)");
    const auto accepted = [](int sequence, const std::string& txnId) {
        return "<TimeTrackingAddRs requestID=\"" + std::to_string(sequence) +
               "\" statusCode=\"0\" statusSeverity=\"Info\" statusMessage=\"Status OK\">"
               "<TimeTrackingRet><TxnID>" +
               txnId + "</TxnID></TimeTrackingRet></TimeTrackingAddRs>\n";
    };
    std::string elements;
    for (int sequence = 1; sequence <= kTickets; ++sequence) {
        elements += accepted(sequence, sequence == 1700 ? "T-5" : "T-" + std::to_string(sequence));
    }
    EXPECT_TRUE(parseTickets(elements));
    EXPECT_EQ(punchRows(), Strings{"1700|<null>"});

    // Every other ticket confirmed with its own TxnID; the one that failed still sent.
    EXPECT_EQ(rows("select Sequence, State, TxnID from ExportTicket where State <> 'confirmed'"
                   " or TxnID <> 'T-' || Sequence order by Sequence",
                   {"Sequence", "State", "TxnID"}),
              Strings{"1700|sent|<null>"});
    EXPECT_EQ(rows("select count(*) as N from ExportTicket", {"N"}),
              Strings{std::to_string(kTickets)});
    const std::string log = logText();
    EXPECT_NE(log.find("UNIQUE constraint failed"), std::string::npos) << log;
    EXPECT_EQ(log.find("UNIQUE constraint failed"), log.rfind("UNIQUE constraint failed")) << log;
}

}  // namespace
}  // namespace vantrell::testing
