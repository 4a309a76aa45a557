#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "LinkFixture.h"
#include "interfacedb/Connection.h"
#include "shell/window/ExportButton.h"
#include "shell/window/IssueList.h"

namespace vantrell::testing {
namespace {

using Strings = std::vector<std::string>;

constexpr const char* kProlog =
    "<?xml version=\"1.0\" ?>"
    "<!DOCTYPE QBXML PUBLIC '-//INTUIT//DTD QBXML QBD 1.1//EN' 'http://developer.intuit.com'>";

std::string ticketXml(const std::string& id, const std::string& date, const std::string& name,
                      const std::string& duration, const std::string& payType) {
    return "<TimeTrackingAddRq requestID=\"" + id + "\"><TimeTrackingAdd><TxnDate>" + date +
           "</TxnDate><EntityRef><FullName>" + name + "</FullName></EntityRef><Duration>" +
           duration + "</Duration><PayrollItemWageRef><FullName>" + payType +
           "</FullName></PayrollItemWageRef><IsBillable>false</IsBillable></TimeTrackingAdd>"
           "</TimeTrackingAddRq>";
}

std::string acceptedRs(const std::string& id) {
    return "<TimeTrackingAddRs requestID=\"" + id +
           "\" statusCode=\"0\" statusSeverity=\"Info\" statusMessage=\"Status OK\">\n"
           "<TimeTrackingRet>\n<TxnID>1-1</TxnID>\n</TimeTrackingRet>\n</TimeTrackingAddRs>\n";
}

std::string refusedRs(const std::string& id, const std::string& code, const std::string& message) {
    return "<TimeTrackingAddRs requestID=\"" + id + "\" statusCode=\"" + code +
           "\" statusSeverity=\"Error\" statusMessage=\"" + message + "\" />\n";
}

const Strings kCompleted = {"", "Export complete."};

class Export : public LinkFixture {
  protected:
    bool pointerRestored() const {
        return controls.pointer == MousePointer::Default &&
               controls.events.front() == "pointer Hourglass" &&
               controls.events.back() == "pointer Default";
    }
};

TEST_F(Export, SendsEveryRowInSequenceOrderAsOneExactRequest) {
    stagePunch(12, "Zo\xC3\xAB 'Z'", "2026-12-31", 0.25f, "Regular");
    stagePunch(4, "Worker One", "2026-03-02", 8.0f, "Hourly");
    stagePunch(9, "A & B <x>", "2026-03-03", 7.5f, "Sick \"pay\"");
    qb.responses.push_back(qbxmlResponse(acceptedRs("4") + acceptedRs("9") + acceptedRs("12")));
    link.ticket = "{t}";

    cmdExport_Click(t.log, link, controls);

    const std::string expected =
        std::string(kProlog) + "<QBXML><QBXMLMsgsRq onError=\"stopOnError\">" +
        ticketXml("4", "2026-03-02", "Worker One", "PT8H0M", "Hourly") +
        ticketXml("9", "2026-03-03", "A &amp; B &lt;x&gt;", "PT7H30M", "Sick \"pay\"") +
        ticketXml("12", "2026-12-31", "Zo\xC3\xAB 'Z'", "PT0H15M", "Regular") +
        "</QBXMLMsgsRq></QBXML>";
    ASSERT_EQ(qb.requests.size(), 1u);
    EXPECT_EQ(qb.requests[0], expected);
    EXPECT_EQ(qb.calls, Strings{"ProcessRequest {t}"});
    EXPECT_EQ(link.requestXML, expected);
    EXPECT_EQ(t.sandbox.read("PunchReq.txt"), "\"" + expected + "\"\r\n");
    EXPECT_EQ(t.sandbox.read("PunchResp.txt"), "\"" + link.responseXML + "\"\r\n");
    EXPECT_EQ(punchRows(), Strings{});
    EXPECT_EQ(controls.lines, kCompleted);
    EXPECT_FALSE(controls.enabled[WindowButton::Export]);
    EXPECT_TRUE(pointerRestored());
    EXPECT_EQ(link.rsPunch, nullptr);
    EXPECT_EQ(logText(), "");
}

// The hours of each ticket as the request writes them: whole hours in the hours part, at the
// edges of an hour too.
TEST_F(Export, WritesWholeHoursAsHoursInTheRequest) {
    stagePunch(1, "Worker One", "2026-03-02", 1.0f, "Hourly");
    stagePunch(2, "Worker One", "2026-03-03", 0.5f, "Hourly");
    stagePunch(3, "Worker One", "2026-03-04", 1.999f, "Hourly");
    stagePunch(4, "Worker One", "2026-03-05", 8.0f, "Hourly");
    qb.responses.push_back(
        qbxmlResponse(acceptedRs("1") + acceptedRs("2") + acceptedRs("3") + acceptedRs("4")));

    cmdExport_Click(t.log, link, controls);

    ASSERT_EQ(qb.requests.size(), 1u);
    EXPECT_EQ(qb.requests[0], std::string(kProlog) +
                                  "<QBXML><QBXMLMsgsRq onError=\"stopOnError\">" +
                                  ticketXml("1", "2026-03-02", "Worker One", "PT1H0M", "Hourly") +
                                  ticketXml("2", "2026-03-03", "Worker One", "PT0H30M", "Hourly") +
                                  ticketXml("3", "2026-03-04", "Worker One", "PT2H0M", "Hourly") +
                                  ticketXml("4", "2026-03-05", "Worker One", "PT8H0M", "Hourly") +
                                  "</QBXMLMsgsRq></QBXML>");
    EXPECT_EQ(punchRows(), Strings{});
}

TEST_F(Export, AnEmptyStageSendsNothingAndStillCompletes) {
    controls.lines = {"Click Export to post your time tickets in QuickBooks."};
    cmdExport_Click(t.log, link, controls);
    EXPECT_EQ(qb.created, 0);
    EXPECT_TRUE(qb.requests.empty());
    for (const char* trace : {"PunchReq.txt", "PunchResp.txt", "RawData.txt"}) {
        EXPECT_FALSE(std::filesystem::exists(t.sandbox.file(trace))) << trace;
    }
    EXPECT_EQ(controls.lines, (Strings{"Click Export to post your time tickets in QuickBooks.", "",
                                       "Export complete."}));
    EXPECT_FALSE(controls.enabled[WindowButton::Export]);
    EXPECT_EQ(link.rsPunch, nullptr);
    EXPECT_TRUE(pointerRestored());
    EXPECT_EQ(logText(), "");
}

TEST_F(Export, RawDataGetsTheRequestSentBefore) {
    stagePunch(1, "Worker One", "2026-03-02", 8.0f, "Hourly");
    qb.responses = {qbxmlResponse(""), qbxmlResponse("")};
    link.ResolveWithQB();
    const std::string query = link.requestXML;
    cmdExport_Click(t.log, link, controls);
    EXPECT_EQ(t.sandbox.read("RawData.txt"), "\"" + query + "\"\r\n");

    // A second export in a row traces the first export's request.
    const std::string firstExport = link.requestXML;
    cmdExport_Click(t.log, link, controls);
    EXPECT_EQ(t.sandbox.read("RawData.txt"), "\"" + firstExport + "\"\r\n");
}

TEST_F(Export, MixedAnswerKeepsRefusedAndUnprocessedRowsWithTheirMessage) {
    for (int sequence : {1, 2, 3, 4}) {
        stagePunch(sequence, "Worker One", "2026-03-02", 8.0f, "Hourly");
    }
    const std::string refused =
        "There is an invalid reference to QuickBooks Employee &quot;Worker One&quot; in the "
        "TimeTracking.";
    qb.responses.push_back(
        qbxmlResponse(acceptedRs("1") + refusedRs("2", "3140", refused) +
                      refusedRs("3", "3231", "The request has not been processed.") +
                      refusedRs("4", "3231", "The request has not been processed.")));

    cmdExport_Click(t.log, link, controls);

    EXPECT_EQ(punchRows(), (Strings{"2|There is an invalid reference to QuickBooks Employee "
                                    "\"Worker One\" in the TimeTracking.",
                                    "3|The request has not been processed.",
                                    "4|The request has not been processed."}));
    // The refused ticket with its message, then one line for those never processed.
    EXPECT_EQ(controls.lines,
              (Strings{"", "Export complete.",
                       "Refused: Worker One, 2026-03-02, Hourly, 8 hours: There is an invalid "
                       "reference to QuickBooks Employee \"Worker One\" in the TimeTracking.",
                       "2 more time tickets were not processed: QuickBooks stopped at the "
                       "refusal. They stay staged."}));
    EXPECT_EQ(logText(), "");
}

// Each export says only what its own answer said: a ticket that an earlier export's answer
// called not processed, and that the next answer does not name, is of unknown fate.
TEST_F(Export, EachExportTellsOnlyWhatItsOwnAnswerSaid) {
    stagePunch(1, "Worker One", "2026-03-02", 8.0f, "Hourly");
    stagePunch(2, "Worker One", "2026-03-03", 8.0f, "Hourly");
    qb.responses.push_back(
        qbxmlResponse(refusedRs("1", "3140", "Refused.") +
                      refusedRs("2", "3231", "The request has not been processed.")));
    qb.responses.push_back(qbxmlResponse(refusedRs("1", "3140", "Refused again.")));
    cmdExport_Click(t.log, link, controls);
    EXPECT_EQ(controls.lines.back(),
              "1 more time ticket was not processed: QuickBooks stopped at the refusal. It stays "
              "staged.");

    controls.lines.clear();
    cmdExport_Click(t.log, link, controls);
    EXPECT_EQ(controls.lines,
              (Strings{"", "Export complete.",
                       "Refused: Worker One, 2026-03-02, Hourly, 8 hours: Refused again.",
                       "1 time ticket was sent, and whether QuickBooks holds it is not known: its "
                       "answer was not read (see VantrellLog.txt). The next run checks which of "
                       "them QuickBooks holds."}));
    // The journal holds what each answer said, and the ticket the second left unanswered as
    // sent.
    EXPECT_EQ(rows("select ExportID, Sequence, State from ExportTicket order by rowid",
                   {"ExportID", "Sequence", "State"}),
              (Strings{"1|1|refused", "1|2|notposted", "2|1|refused", "2|2|sent"}));
}

// The accounting system took the tickets, and then another program holds Vantrell.mdb: the
// answer's application waits once, gives up, and says the tickets are posted but not recorded.
TEST_F(Export, ALockedDatabaseCostsOneWaitAndTheTicketsAreReportedUnrecorded) {
    std::string answers;
    for (int sequence = 1; sequence <= 5; ++sequence) {
        stagePunch(sequence, "Worker One", "2026-03-0" + std::to_string(sequence), 8.0f, "Hourly");
        answers += acceptedRs(std::to_string(sequence));
    }
    qb.responses.push_back(qbxmlResponse(answers));
    db::Connection other;
    qb.beforeAnswer = [&] {
        other.open(interfaceDb.cnInterface->connectionString());
        other.execute("begin exclusive");
    };
    cmdExport_Click(t.log, link, controls);
    other.execute("rollback");
    EXPECT_EQ(controls.lines,
              (Strings{"", "Export complete.",
                       "Vantrell.mdb is locked by another program: the answer of QuickBooks could "
                       "not be recorded (see VantrellLog.txt).",
                       "5 time tickets were posted in QuickBooks but could not be recorded in "
                       "Vantrell.mdb. The next run settles them."}));

    const std::string log = logText();
    std::size_t locked = 0;
    const std::string failedStep = "Process Time Tracking Return database is locked";
    for (std::size_t at = log.find(failedStep); at != std::string::npos;
         at = log.find(failedStep, at + 1)) {
        ++locked;
    }
    // One for the answer's first ticket; the other four were not tried.
    EXPECT_EQ(locked, 1u) << log;
    EXPECT_NE(log.find("Vantrell.mdb is locked by another program"), std::string::npos) << log;
    EXPECT_EQ(punchRows().size(), 5u);
    EXPECT_EQ(rows("select count(*) as N from ExportTicket where State='sent'", {"N"}),
              Strings{"5"});
}

// The deletes succeed and the journal cannot record them: the undo says so (never that the
// accounting system failed), and the next undo finds the ticket gone and records it.
TEST_F(Export, AnUndoThatCannotBeRecordedIsSettledByTheNextUndo) {
    stagePunch(1, "Worker One", "2026-03-02", 8.0f, "Hourly");
    qb.responses.push_back(qbxmlResponse(acceptedRs("1")));
    cmdExport_Click(t.log, link, controls);
    ASSERT_EQ(punchRows(), Strings{});

    qb.postedTicketsAnswer = qbxmlResponse(
        "<TimeTrackingQueryRs requestID=\"1\" statusCode=\"0\" statusSeverity=\"Info\" "
        "statusMessage=\"Status OK\"><TimeTrackingRet><TxnID>1-1</TxnID><TxnDate>2026-03-02"
        "</TxnDate><EntityRef><FullName>worker one</FullName></EntityRef><Duration>PT8H0M0S"
        "</Duration><PayrollItemWageRef><FullName>Hourly</FullName></PayrollItemWageRef>"
        "</TimeTrackingRet></TimeTrackingQueryRs>");
    qb.responses.push_back(
        qbxmlResponse("<TxnDelRs requestID=\"1\" statusCode=\"0\" statusSeverity=\"Info\" "
                      "statusMessage=\"Status OK\"/>"));
    db::Connection other;
    qb.beforeAnswer = [&] {
        other.open(interfaceDb.cnInterface->connectionString());
        other.execute("begin exclusive");
    };
    QuickBooksLink::UndoOutcome outcome = link.UndoExport(1);
    other.execute("rollback");
    EXPECT_EQ(outcome.kind, QuickBooksLink::UndoOutcome::Kind::SomeRemain);
    EXPECT_EQ(outcome.deleted, 1);
    EXPECT_TRUE(outcome.notRecorded);
    EXPECT_TRUE(outcome.kept.empty());
    EXPECT_EQ(rows("select Undone from ExportTicket", {"Undone"}), Strings{"False"});

    qb.beforeAnswer = nullptr;
    qb.postedTicketsAnswer = qbxmlResponse(
        "<TimeTrackingQueryRs requestID=\"1\" statusCode=\"3120\" statusSeverity=\"Error\" "
        "statusMessage=\"Object &quot;1-1&quot; specified in the request cannot be found.\"/>");
    const std::size_t sent = qb.requests.size();
    outcome = link.UndoExport(1);
    EXPECT_EQ(outcome.kind, QuickBooksLink::UndoOutcome::Kind::AllGone);
    EXPECT_EQ(outcome.deleted, 0);
    EXPECT_EQ(outcome.alreadyGone, 1);
    EXPECT_EQ(qb.requests.size(), sent);  // nothing left to delete
    EXPECT_EQ(rows("select Undone from ExportTicket", {"Undone"}), Strings{"True"});
}

TEST_F(Export, ARowWithoutAValueSendsAnEmptyRequest) {
    stagePunch(1, "Worker One", "2026-03-02", 8.0f, "Hourly");
    interfaceDb.cnInterface->execute("update Punch set Hours=null");
    cmdExport_Click(t.log, link, controls);
    EXPECT_EQ(qb.requests, Strings{""});
    EXPECT_EQ(t.sandbox.read("PunchReq.txt"), "\"\"\r\n");
    EXPECT_EQ(punchRows(), Strings{"1|<null>"});
    // The builder's failure, then the empty answer that does not load.
    const std::string log = logText();
    EXPECT_EQ(log.find(std::string(kStamp) + "BuildRequestString Invalid use of Null\r\n \r\n"),
              0u);
    EXPECT_NE(log.find("ParseResponseXML \r\n loadXML failed, reason: "), std::string::npos);
    // The request carried no ticket: none is "not processed", none is in the journal.
    EXPECT_EQ(controls.lines,
              (Strings{"", "Export complete.",
                       "1 time ticket was not sent: the request could not be made (see "
                       "VantrellLog.txt). It stays staged."}));
    EXPECT_EQ(rows("select count(*) as N from ExportTicket", {"N"}), Strings{"0"});
}

struct ExportFailureCase {
    const char* name;
    const char* description;  // "" when the platform words it
    bool sent;
};

class ExportFailure : public Export, public ::testing::WithParamInterface<ExportFailureCase> {};

TEST_P(ExportFailure, StopsTheExportAndRestoresThePointer) {
    const ExportFailureCase& c = GetParam();
    const std::string name = c.name;
    stagePunch(1, "Worker One", "2026-03-02", 8.0f, "Hourly");
    ConnectionRef detached;
    if (name == "NoAnswer") {
        qb.failures["ProcessRequest"] = c.description;
    } else if (name == "RequestTraceNotWritable") {
        std::filesystem::create_directory(t.sandbox.file("PunchReq.txt"));
    } else if (name == "NoInterfaceConnection") {
        detached = std::move(interfaceDb.cnInterface);
    } else if (name == "HourglassRefused") {
        controls.failingEvents = {"pointer Hourglass"};
    }

    cmdExport_Click(t.log, link, controls);
    if (detached) {
        interfaceDb.cnInterface = std::move(detached);
    }

    EXPECT_EQ(qb.requests.size(), c.sent ? 1u : 0u);
    EXPECT_EQ(controls.pointer, MousePointer::Default);
    EXPECT_EQ(controls.events.back(), "pointer Default");
    EXPECT_TRUE(controls.lines.empty());
    EXPECT_EQ(std::count(controls.events.begin(), controls.events.end(), "Export off"), 0);
    EXPECT_EQ(punchRows(), Strings{"1|<null>"});
    const std::string head = std::string(kStamp) + "cmdExport_Click " + c.description;
    EXPECT_EQ(logText().substr(0, head.size()), head);
    EXPECT_EQ(t.prompter.shown.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Export, ExportFailure,
    ::testing::Values(ExportFailureCase{"NoAnswer", "Could not access QuickBooks.", true},
                      ExportFailureCase{"RequestTraceNotWritable", "", false},
                      ExportFailureCase{"NoInterfaceConnection",
                                        "Object variable or With block variable not set", false},
                      ExportFailureCase{"HourglassRefused", "Control failed: pointer Hourglass",
                                        false}),
    [](const ::testing::TestParamInfo<ExportFailureCase>& param) { return param.param.name; });

TEST_F(Export, APointerThatCannotBeResetIsLoggedNotThrown) {
    controls.failingEvents = {"pointer Default"};
    cmdExport_Click(t.log, link, controls);
    EXPECT_EQ(controls.lines, kCompleted);
    EXPECT_EQ(logText(),
              std::string(kStamp) + "cmdExport_Click Control failed: pointer Default\r\n \r\n");
}

}  // namespace
}  // namespace vantrell::testing
