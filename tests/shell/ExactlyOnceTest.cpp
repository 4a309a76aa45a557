#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "shell/ExactlyOnceFixture.h"

namespace vantrell {
namespace {

using testing::CliRun;
using testing::ExactlyOnce;
using testing::kInvitation;
using testing::linesOf;
using Lines = std::vector<std::string>;

TEST_P(ExactlyOnce, ARepeatedExportPostsNothing) {
    addDay("Worker One", "2026-03-03", 8, 1.5);
    addDay("Worker Two", "2026-03-02", 7.5);
    CliRun run = cliWithFiles({"--export"});
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_EQ(postedTickets().size(), 4u);

    run = cliWithFiles({"--export"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(linesOf(run.out),
              (Lines{kInvitation, "",
                     "4 time tickets are already in QuickBooks and will not be posted again.", "",
                     "Export complete."}));
    EXPECT_EQ(postedTickets().size(), 4u);
    // The second export had nothing to send, so it is no export of the journal.
    EXPECT_EQ(exportsListed(), Lines{"1\tT\t4\t0\t0\tC"});
    const std::string version = GetParam() ? "2.0" : "5.0";
    EXPECT_NE(programFile("CheckReq.txt").find("<?qbxml version=\"" + version + "\"?>"),
              std::string::npos);
    // The log says when the check had to ask the older way.
    EXPECT_EQ(programFile("VantrellLog.txt").find("QuickBooks does not take qbXML 5.0") !=
                  std::string::npos,
              GetParam());
    EXPECT_NE(programFile("CheckReq.txt").find("<FromTxnDate>2026-03-02</FromTxnDate>"),
              std::string::npos);
    EXPECT_EQ(programFile("RawData.txt"), programFile("ResolveReq.txt"));
}

// Other employees' time in the staged days, ten times as much as the staged tickets, pairs with
// none of them.
TEST_P(ExactlyOnce, OtherEmployeesTicketsInTheRangePairWithNothing) {
    addDay("Worker One", "2026-03-03", 8);
    ASSERT_EQ(cliWithFiles({"--export"}).status, 0);
    std::vector<std::string> others = {"add-employee", company};
    for (int i = 0; i < 10; ++i) {
        others.push_back("Other " + std::to_string(i));
    }
    qbsim(others);
    for (int i = 0; i < 20; ++i) {
        qbsim({"add-time", company, i % 2 ? "2026-03-02" : "2026-03-03",
               "Other " + std::to_string(i % 10), "PT8H0M", "Hourly"});
    }
    addDay("Worker Two", "2026-03-02", 8);
    const CliRun run = cliWithFiles({"--export"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(linesOf(run.out),
              (Lines{kInvitation, "",
                     "2 time tickets are already in QuickBooks and will not be posted again.", "",
                     "Export complete."}));
    // The first export's two, the others' twenty and Worker Two's new one.
    EXPECT_EQ(postedTickets().size(), 23u);
}

TEST_P(ExactlyOnce, ARefusedTicketFixedAndExportedAgainPostsEachTicketOnce) {
    // The accounting system refuses a negative duration and, stopping there, processes nothing
    // after it.
    addDay("Worker One", "2026-03-03", -1.5);
    addDay("Worker One", "2026-03-04", 7.5);
    CliRun run = cliWithFiles({"--export"});
    ASSERT_EQ(run.status, 3) << run.err;
    ASSERT_EQ(postedTickets().size(), 1u);

    runOnChronel("update REPORTDATA set PST = 1.5 where PST < 0");
    run = cliWithFiles({"--export"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(postedTickets(), (Lines{"2026-03-02\tWorker One\tPT8H0M0S\tHourly",
                                      "2026-03-03\tWorker One\tPT1H30M0S\tHourly",
                                      "2026-03-04\tWorker One\tPT7H30M0S\tHourly"}));
    EXPECT_EQ(exportsListed(), (Lines{"1\tT\t1\t0\t0\tC", "2\tT\t2\t0\t0\tC"}));
}

TEST_P(ExactlyOnce, NewDaysPostOnlyTheNewTickets) {
    ASSERT_EQ(cliWithFiles({"--export"}).status, 0);
    addDay("Worker Two", "2026-03-05", 8);
    const CliRun run = cliWithFiles({"--export"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(linesOf(run.out),
              (Lines{kInvitation, "",
                     "1 time ticket is already in QuickBooks and will not be posted again.", "",
                     "Export complete."}));
    EXPECT_EQ(postedTickets().size(), 2u);
    expectEachTicketOnce();
}

TEST_P(ExactlyOnce, TicketsKeyedByHandCountAsPostedOneForOne) {
    // Two identical days stage two identical tickets; the one keyed by hand (names in other
    // letter case, the duration with seconds) stands for one of them only.
    addDay("Worker One", "2026-03-02", 8);
    qbsim({"add-time", company, "2026-03-02", "worker one", "PT8H0M0S", "HOURLY"});
    CliRun run = cliWithFiles({"--export"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(linesOf(run.out)[2],
              "1 time ticket is already in QuickBooks and will not be posted again.");
    EXPECT_EQ(postedTickets().size(), 2u);

    run = cliWithFiles({"--export"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(postedTickets().size(), 2u);
}

TEST_P(ExactlyOnce, ReviewListsTheStageAndWhatTheCheckSettledAndExportsNothing) {
    addDay("Worker Two", "2026-03-03", 4, 1.5);
    qbsim({"add-time", company, "2026-03-02", "Worker One", "PT8H0M", "Hourly"});
    const CliRun run = cliWithFiles({"--review"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(linesOf(run.out),
              (Lines{"2 time tickets are staged, 5.50 hours in all.",
                     "The check found 1 time ticket in QuickBooks already and took it out of the "
                     "stage.",
                     "Employee\tDate\tWage item\tHours", "Worker Two\t2026-03-03\tHourly\t4",
                     "Worker Two\t2026-03-03\tOvertime\t1.5", "", "Total of\tName\tTickets\tHours",
                     "Employee\tWorker Two\t2\t5.50", "Wage item\tHourly\t1\t4.00",
                     "Wage item\tOvertime\t1\t1.50", "All tickets\t\t2\t5.50"}));
    EXPECT_EQ(postedTickets().size(), 1u);  // only the one keyed by hand

    EXPECT_EQ(cliWithFiles({"--review", "--export"}).status, 64);
}

TEST_P(ExactlyOnce, ChangedHoursAreAnIssueAndNothingIsPosted) {
    addDay("Worker Two", "2026-03-02", 4);
    qbsim({"add-time", company, "2026-03-02", "Worker One", "PT7H30M", "Hourly"});
    const CliRun run = cliWithFiles({"--export"});
    EXPECT_EQ(run.status, 2) << run.err;
    EXPECT_EQ(linesOf(run.out),
              (Lines{"Ticket changed in QuickBooks: Worker One on 2026-03-02, Hourly: 8 hours "
                     "staged, 7.5 hours in QuickBooks",
                     "", "There are 1 issues requiring resolution."}));
    EXPECT_EQ(postedTickets().size(), 1u);  // only the one keyed by hand
}

TEST_P(ExactlyOnce, ACheckThatCannotBeMadeBlocksTheExport) {
    ASSERT_EQ(cliWithFiles().status, 0);
    const std::string resolution = lastResolutionAnswer();
    for (const std::string& checkAnswer :
         {std::string("<QBXML><QBXMLMsgsRs>"),
          std::string("<?xml version=\"1.0\" ?><QBXML><QBXMLMsgsRs><TimeTrackingQueryRs "
                      "requestID=\"1\" statusCode=\"3200\" statusSeverity=\"Error\" "
                      "statusMessage=\"The check &amp; its answer failed.\"/></QBXMLMsgsRs>"
                      "</QBXML>")}) {
        std::filesystem::remove_all(sandbox.file("replay"));
        const CliRun run =
            cliWithFiles({"--processor", replayOf({resolution, checkAnswer}), "--export"});
        EXPECT_EQ(run.status, 2) << run.err;
        EXPECT_EQ(linesOf(run.out),
                  (Lines{"Could not check which time tickets QuickBooks already holds; see "
                         "VantrellLog.txt.",
                         "", "There are 1 issues requiring resolution."}));
        EXPECT_NE(run.err.find("CheckPostedTickets"), std::string::npos) << run.err;
    }
    EXPECT_EQ(postedTickets().size(), 0u);
    EXPECT_NE(programFile("VantrellLog.txt").find("The check & its answer failed."),
              std::string::npos);
}

// The answer of the check, as the stand-in gave it for a posted ticket, changed in one way that
// leaves it untrustworthy: the run says the check failed, Export stays disabled and the ticket
// is never posted again.
TEST_P(ExactlyOnce, ACheckAnswerThatCannotBeTrustedWholeBlocksTheExport) {
    ASSERT_EQ(cliWithFiles({"--export"}).status, 0);
    ASSERT_EQ(cliWithFiles().status, 0);
    const std::string resolution = lastResolutionAnswer();
    const std::string answer = traced("CheckResp.txt");
    ASSERT_NE(answer.find("<TxnDate>2026-03-02</TxnDate>"), std::string::npos) << answer;
    const std::string record =
        answer.substr(answer.find("<TimeTrackingRet>"),
                      answer.find("</TimeTrackingRet>") + 18 - answer.find("<TimeTrackingRet>"));
    const auto changed = [&](const std::string& from, const std::string& to) {
        std::string text = answer;
        const std::size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return at == std::string::npos ? text : text.replace(at, from.size(), to);
    };
    const auto without = [&](const std::string& open, const std::string& close) {
        std::string text = answer;
        const std::size_t begin = text.find(open);
        const std::size_t end = text.find(close, begin);
        EXPECT_NE(end, std::string::npos) << open;
        return end == std::string::npos ? text : text.erase(begin, end + close.size() - begin);
    };
    const std::string declaration = answer.substr(0, answer.find("?>") + 2);
    // Its record gone, the answer still saying it holds one.
    std::string countedButGone = changed("statusCode=\"0\"", "statusCode=\"0\" retCount=\"1\"");
    countedButGone.erase(countedButGone.find(record), record.size());
    const Lines untrusted = {
        changed("statusCode=\"0\"", "statusCode=\"1\""),
        without("<TxnID>", "</TxnID>"),
        without("<TxnDate>", "</TxnDate>"),
        without("<EntityRef>", "</EntityRef>"),
        changed("<TxnDate>2026-03-02</TxnDate>", "<TxnDate>03/02/2026</TxnDate>"),
        changed("<Duration>", "<Duration>about "),
        changed("statusCode=\"0\"", "statusCode=\"0\" iteratorRemainingCount=\"1\""),
        changed("statusCode=\"0\"", "statusCode=\"0\" retCount=\"2\""),
        countedButGone,
        changed(declaration, "<!DOCTYPE QBXML [<!ENTITY w \"Worker One\">]>"),
        "<!DOCTYPE QBXML>" + answer,
        answer + "x",
        changed(declaration, "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>") +
            "<!-- Zo\xC3\xAB -->",
    };
    for (const std::string& checkAnswer : untrusted) {
        std::filesystem::remove_all(sandbox.file("replay"));
        const CliRun run =
            cliWithFiles({"--processor", replayOf({resolution, checkAnswer}), "--export"});
        EXPECT_EQ(run.status, 2) << checkAnswer << run.err;
        EXPECT_EQ(linesOf(run.out),
                  (Lines{"Could not check which time tickets QuickBooks already holds; see "
                         "VantrellLog.txt.",
                         "", "There are 1 issues requiring resolution."}))
            << checkAnswer;
        EXPECT_NE(run.err.find("CheckPostedTickets"), std::string::npos) << run.err;
    }
    EXPECT_EQ(postedTickets().size(), 1u);

    // The answer as it came is trusted: the ticket is already posted and nothing is sent. (A
    // replay takes every version, so the program asks it in pages: an older system's whole
    // answer is no page and is refused above for that alone.)
    if (GetParam()) {
        return;
    }
    std::filesystem::remove_all(sandbox.file("replay"));
    const CliRun run = cliWithFiles({"--processor", replayOf({resolution, answer}), "--export"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(linesOf(run.out),
              (Lines{kInvitation, "",
                     "1 time ticket is already in QuickBooks and will not be posted again.", "",
                     "Export complete."}));
    EXPECT_EQ(postedTickets().size(), 1u);
}

TEST_P(ExactlyOnce, AnUndoRemovesExactlyThatExportAndALaterExportPostsItAgain) {
    ASSERT_EQ(cliWithFiles({"--export"}).status, 0);
    addDay("Worker Two", "2026-03-05", 8);
    ASSERT_EQ(cliWithFiles({"--export"}).status, 0);
    ASSERT_EQ(postedTickets().size(), 2u);

    CliRun run = cli({"--data-dir", data, "--undo-export", "1"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Export 1: 1 time ticket deleted in QuickBooks.\n");
    EXPECT_EQ(postedTickets(), Lines{"2026-03-05\tWorker Two\tPT8H0M0S\tHourly"});
    EXPECT_EQ(exportsListed(), (Lines{"1\tT\t1\t1\t0\tC", "2\tT\t1\t0\t0\tC"}));

    run = cli({"--data-dir", data, "--undo-export", "1"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Export 1 has no time tickets left to undo; nothing was deleted.\n");

    run = cliWithFiles({"--export"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(postedTickets().size(), 2u);
    expectEachTicketOnce();
    EXPECT_EQ(exportsListed(), (Lines{"1\tT\t1\t1\t0\tC", "2\tT\t1\t0\t0\tC", "3\tT\t1\t0\t0\tC"}));
}

TEST_P(ExactlyOnce, AnUndoTellsWhatItCouldNotDo) {
    EXPECT_EQ(cli({"--data-dir", data, "--list-exports"}).out, "");
    addDay("Worker Two", "2026-03-02", 8);
    ASSERT_EQ(cliWithFiles({"--export"}).status, 0);

    for (const std::string id : {"9", "abc", "-1", "1; drop table Punch"}) {
        const CliRun run = cli({"--data-dir", data, "--undo-export", id});
        EXPECT_EQ(run.status, 1) << id;
        EXPECT_NE(run.err.find("--list-exports shows them"), std::string::npos) << run.err;
    }

    // The accounting system keeps the second ticket: the first is undone, the second remains.
    const std::string answers =
        "<?xml version=\"1.0\" ?><QBXML><QBXMLMsgsRs>"
        "<TxnDelRs requestID=\"1\" statusCode=\"0\" statusSeverity=\"Info\" "
        "statusMessage=\"Status OK\"/>"
        "<TxnDelRs requestID=\"2\" statusCode=\"3175\" statusSeverity=\"Error\" "
        "statusMessage=\"The transaction is in use.\"/></QBXMLMsgsRs></QBXML>";
    const Lines records = postedRecords();
    ASSERT_EQ(records.size(), 2u);
    CliRun run = cli({"--data-dir", data, "--company", company, "--processor",
                      replayOf({heldAnswer({{"1", records[0]}, {"2", records[1]}}), answers}),
                      "--undo-export", "1"});
    EXPECT_EQ(run.status, 3) << run.err;
    EXPECT_EQ(linesOf(run.out), (Lines{"Export 1: 1 time ticket deleted in QuickBooks.",
                                       "1 time ticket of the export remains in QuickBooks."}));
    const Lines refused = linesOf(run.err);
    ASSERT_EQ(refused.size(), 1u) << run.err;
    EXPECT_EQ(refused[0].rfind("Not deleted: Worker Two on 2026-03-02, Hourly, 8 hours (", 0), 0u)
        << refused[0];
    EXPECT_TRUE(refused[0].ends_with("): The transaction is in use.")) << refused[0];
    EXPECT_EQ(exportsListed(), Lines{"1\tT\t2\t1\t0\tC"});

    // Another company file than the export's is refused; without a session nothing is undone.
    run = cli({"--data-dir", data, "--company", chronel, "--undo-export", "1"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("it can be undone only there"), std::string::npos) << run.err;
    std::filesystem::rename(company, company + ".moved");
    run = cli({"--data-dir", data, "--undo-export", "1"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("No session could be opened on the company file"), std::string::npos)
        << run.err;
    EXPECT_EQ(exportsListed(), Lines{"1\tT\t2\t1\t0\tC"});
}

INSTANTIATE_TEST_SUITE_P(PagedAndWhole, ExactlyOnce, ::testing::Values(false, true),
                         testing::checkWayName);

}  // namespace
}  // namespace vantrell
