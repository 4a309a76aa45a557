#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "shell/ExactlyOnceFixture.h"

namespace vantrell {
namespace {

using testing::CliRun;
using testing::linesOf;
using Lines = std::vector<std::string>;

// The posting journal through vantrell-cli: every ticket an export sent is in it, whatever
// became of the answer, and the undo reaches every posted ticket and nothing else.
struct PostingJournal : testing::ExactlyOnce {
    static constexpr const char* kNothingHeld =
        "<?xml version=\"1.0\" ?><QBXML><QBXMLMsgsRs><TimeTrackingQueryRs requestID=\"1\" "
        "statusCode=\"1\" statusSeverity=\"Info\" statusMessage=\"A query request did not find "
        "a matching object in QuickBooks\"/></QBXMLMsgsRs></QBXML>";

    // Exports the staged tickets through the simulator; the run must end well.
    void exportAll() {
        const CliRun run = cliWithFiles({"--export"});
        ASSERT_EQ(run.status, 0) << run.err;
    }

    CliRun undo(const std::string& id, std::vector<std::string> more = {}) {
        more.insert(more.begin(), {"--data-dir", data, "--undo-export", id});
        return cli(more);
    }

    static bool contains(const std::string& text, const std::string& part) {
        return text.find(part) != std::string::npos;
    }
};

// The message went out, the accounting system stored the tickets, and the answer did not
// arrive: the tickets are in the journal as sent, the undo says it cannot tell yet, the next
// run's check confirms them with the ids it reads, and the undo then deletes them all.
TEST_P(PostingJournal, ALostAnswerIsSettledByTheNextRunAndThenUndone) {
    addDay("Worker Two", "2026-03-02", 7.5);
    ASSERT_EQ(cliWithFiles().status, 0);
    const std::string resolution = lastResolutionAnswer();
    CliRun run = cliWithFiles(
        {"--processor", replayOf({resolution, kNothingHeld, kNothingHeld, "<QBXML><QBXMLMsgsRs>"}),
         "--export"});
    EXPECT_EQ(run.status, 3) << run.err;
    EXPECT_EQ(linesOf(run.out).back(),
              "2 time tickets were sent, and whether QuickBooks holds them is not known: its "
              "answer was not read (see VantrellLog.txt). The next run checks which of them "
              "QuickBooks holds.");
    EXPECT_TRUE(contains(run.err, "Fate unknown: ticket 1 (Worker One, ")) << run.err;
    EXPECT_FALSE(contains(run.err, "): \n")) << run.err;
    EXPECT_FALSE(contains(run.out, "not processed")) << run.out;
    // What the accounting system did with the message it got.
    qbsim({"add-time", company, "2026-03-02", "Worker One", "PT8H0M0S", "Hourly"});
    qbsim({"add-time", company, "2026-03-02", "Worker Two", "PT7H30M0S", "Hourly"});
    EXPECT_EQ(exportsListed(), Lines{"1\tT\t0\t0\t2\tC"});

    run = undo("1");
    EXPECT_EQ(run.status, 3) << run.err;
    EXPECT_EQ(linesOf(run.out),
              (Lines{"Export 1: 0 time tickets deleted in QuickBooks.",
                     "2 time tickets of the export were sent without an answer: whether "
                     "QuickBooks holds them is unknown, so nothing was deleted for them. The next "
                     "run settles them; then undo the export again."}));
    EXPECT_EQ(postedTickets().size(), 2u);

    run = cliWithFiles({"--export"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(linesOf(run.out)[2],
              "2 time tickets are already in QuickBooks and will not be posted again.");
    EXPECT_EQ(exportsListed(), Lines{"1\tT\t2\t0\t0\tC"});

    run = undo("1");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Export 1: 2 time tickets deleted in QuickBooks.\n");
    EXPECT_EQ(postedTickets(), Lines{});
    EXPECT_EQ(exportsListed(), Lines{"1\tT\t2\t2\t0\tC"});
}

// A ticket keyed by hand is taken off the stage with a journal row of its own: counted in the
// list, never deleted by an undo.
TEST_P(PostingJournal, ATicketNoExportSentIsSettledByTheCheckAndCountedApart) {
    addDay("Worker Two", "2026-03-02", 8);
    qbsim({"add-time", company, "2026-03-02", "Worker Two", "PT8H0M0S", "Hourly"});
    exportAll();
    EXPECT_EQ(exportsListed(),
              (Lines{"1\tT\t1\t0\t0\tC",
                     "1 time ticket found in QuickBooks by the check without an export of "
                     "Vantrell settled."}));
    const CliRun run = undo("1");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(postedTickets(), Lines{"2026-03-02\tWorker Two\tPT8H0M0S\tHourly"});
}

// A run that looked at another company file stores it; the undo still goes to the file the
// export was posted to, and refuses to be pointed elsewhere.
TEST_P(PostingJournal, AnUndoGoesToTheCompanyFileOfItsExport) {
    addDay("Worker Two", "2026-03-02", 8);
    exportAll();
    const std::string other = sandbox.file("Other.qbw").string();
    qbsim({"create", other});
    qbsim({"add-employee", other, "Worker One", "Worker Two"});
    qbsim({"add-wage-item", other, "Hourly", "Overtime"});
    ASSERT_EQ(cliWithFiles({"--company", other}).status, 0);

    CliRun run = undo("1", {"--company", other});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "Export 1 was posted to the company file \"" + company + "\", not to \"" +
                           other +
                           "\"; it can be undone only there. Leave out --company, or name that "
                           "file.\n");
    EXPECT_EQ(postedTickets().size(), 2u);

    run = undo("1");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Export 1: 2 time tickets deleted in QuickBooks.\n");
    EXPECT_EQ(postedTickets(), Lines{});
    EXPECT_EQ(linesOf(qbsim({"list-time", other})), Lines{});
}

// Before it deletes, the undo asks what the accounting system holds under each id: only a
// ticket that is the one recorded is deleted; an answer is taken only for the request it
// names, exactly as sent; "not found", asked or deleting, is "already gone".
TEST_P(PostingJournal, AnUndoDeletesOnlyTheTicketsHeldAsRecorded) {
    addDay("Worker Two", "2026-03-02", 8);
    addDay("Worker One", "2026-03-03", 8);
    addDay("Worker Two", "2026-03-03", 8);
    addDay("Worker One", "2026-03-04", 8);
    exportAll();
    const Lines records = postedRecords();
    ASSERT_EQ(records.size(), 5u);
    std::string changed = records[1];
    const std::size_t duration = changed.find("<Duration>") + 10;
    changed.replace(duration, changed.find("</Duration>") - duration, "PT1H0M0S");
    const std::string held = heldAnswer({{"0", records[0]},
                                         {"01", records[0]},
                                         {"1x", records[0]},
                                         {"2", changed},
                                         {"3", ""},
                                         {"4", records[3]},
                                         {"5", records[4]}});
    const std::string deletes =
        "<?xml version=\"1.0\" ?><QBXML><QBXMLMsgsRs>"
        "<TxnDelRs requestID=\"1\" statusCode=\"3120\" statusSeverity=\"Error\" "
        "statusMessage=\"Object cannot be found.\"/>"
        "<TxnDelRs requestID=\"2\" statusCode=\"0\" statusSeverity=\"Info\" "
        "statusMessage=\"Status OK\"/></QBXMLMsgsRs></QBXML>";
    const CliRun run = undo("1", {"--processor", replayOf({held, deletes})});
    EXPECT_EQ(run.status, 3) << run.err;
    EXPECT_EQ(linesOf(run.out),
              (Lines{"Export 1: 1 time ticket deleted in QuickBooks.",
                     "2 time tickets of the export were no longer in QuickBooks: already gone, "
                     "not deleted by this undo.",
                     "2 time tickets of the export remain in QuickBooks."}));
    const Lines kept = linesOf(run.err);
    ASSERT_EQ(kept.size(), 2u) << run.err;
    EXPECT_TRUE(kept[0].ends_with("QuickBooks gave no answer to the question whether it holds it"))
        << kept[0];
    EXPECT_TRUE(contains(kept[1], ": QuickBooks holds another ticket under that id (")) << kept[1];
    EXPECT_TRUE(contains(kept[1], ", 1 hours); it is left alone")) << kept[1];
    // Only the two tickets held as recorded were asked to be deleted.
    const std::string request = programFile("UndoReq.txt");
    std::size_t requests = 0;
    for (std::size_t at = request.find("<TxnDelRq"); at != std::string::npos;
         at = request.find("<TxnDelRq", at + 1)) {
        ++requests;
    }
    EXPECT_EQ(requests, 2u) << request;
    EXPECT_EQ(exportsListed(), Lines{"1\tT\t5\t3\t0\tC"});
}

// A journal table that would lose what it is given ends the start with a message naming the
// table and what is wrong; nothing is sent.
TEST_P(PostingJournal, DamagedJournalTablesAreRefusedAtTheStart) {
    exportAll();
    addDay("Worker Two", "2026-03-02", 8);
    const struct {
        std::vector<std::string> statements;
        std::string message;
    } cases[] = {
        {{"alter table ExportRun rename to Old",
          "create table ExportRun (ID INTEGER, Started "
          "DATETIME)"},
         "The table ExportRun of Vantrell.mdb lacks its column Finished"},
        {{"drop table ExportRun",
          "create table ExportRun (ID TEXT, Started DATETIME, Finished DATETIME)"},
         "The column ID of the table ExportRun of Vantrell.mdb is declared for text"},
        {{"drop table ExportRun", "alter table Old rename to ExportRun",
          "alter table ExportTicket rename to Kept", "alter table Kept rename to exportticket"},
         "The table \"exportticket\" of Vantrell.mdb is not the program's table ExportTicket: "
         "its name differs in letter case."},
    };
    for (const auto& c : cases) {
        for (const std::string& statement : c.statements) {
            runOnJournal(statement);
        }
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{"--data-dir", data, "--list-exports"},
              std::vector<std::string>{"--data-dir", data, "--export"}}) {
            const CliRun run = cli(args);
            EXPECT_EQ(run.status, 1) << args.back();
            EXPECT_TRUE(contains(run.err, c.message)) << run.err;
        }
    }
    EXPECT_EQ(postedTickets().size(), 1u);
}

// A damaged row of ExportRun: the list names it and shows the rest; an export is refused
// before anything is sent, with the journal named, never the accounting system.
TEST_P(PostingJournal, DamagedExportRowsAreNamedAndNothingIsSentPastThem) {
    exportAll();
    addDay("Worker Two", "2026-03-02", 8);
    const struct {
        const char* statement;
        const char* listed;   // on the list's standard error; "" for none
        const char* refusal;  // in the export's message
    } cases[] = {
        {"insert into ExportRun (ID) values (null)",
         "The posting journal is damaged: row 2 of ExportRun has the export ID Null, not a "
         "whole number above 0.",
         "row 2 of ExportRun has the export ID Null, not a whole number."},
        {"update ExportRun set ID='abc' where ID is null",
         "The posting journal is damaged: row 2 of ExportRun has the export ID \"abc\", not a "
         "whole number above 0.",
         "row 2 of ExportRun has the export ID \"abc\", not a whole number."},
        {"update ExportRun set ID=9223372036854775807 where rowid=2", "",
         "its highest export ID, 9223372036854775807, leaves no next one."},
    };
    for (const auto& c : cases) {
        runOnJournal(c.statement);
        CliRun run = cli({"--data-dir", data, "--list-exports"});
        EXPECT_TRUE(linesOf(run.out).front().ends_with("\t1\t0\t0\t" + company)) << run.out;
        if (*c.listed != '\0') {
            EXPECT_EQ(run.status, 1);
            EXPECT_EQ(run.err, std::string(c.listed) + "\n");
        }
        run = cliWithFiles({"--export"});
        EXPECT_EQ(run.status, 3) << c.statement;
        EXPECT_TRUE(contains(run.err, c.refusal)) << run.err;
        EXPECT_FALSE(contains(run.err, "Type mismatch")) << run.err;
        EXPECT_TRUE(contains(run.err, "Not posted: ticket 2 (Worker Two, ")) << run.err;
        EXPECT_TRUE(contains(run.err, "not sent: the export ended before its message went out"))
            << run.err;
        EXPECT_EQ(postedTickets().size(), 1u);
    }
}

// Damaged ticket rows are named one by one; the undo deletes the rest and never blames the
// accounting system for them.
TEST_P(PostingJournal, DamagedTicketRowsAreNamedAndTheRestIsUndone) {
    addDay("Worker Two", "2026-03-02", 8);
    addDay("Worker One", "2026-03-03", 8);
    exportAll();
    runOnJournal("update ExportTicket set Undone='yes' where Sequence=1");
    runOnJournal("update ExportTicket set Hours='abc' where Sequence=2");
    CliRun run = cli({"--data-dir", data, "--list-exports"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.out.starts_with("1\t")) << run.out;
    EXPECT_TRUE(run.out.ends_with("\t1\t0\t0\t" + company + "\n")) << run.out;
    EXPECT_EQ(run.err,
              "The posting journal is damaged: export 1 has 2 ticket rows that cannot be read "
              "(--undo-export 1 names them).\n");

    run = undo("1");
    EXPECT_EQ(run.status, 3) << run.err;
    EXPECT_EQ(linesOf(run.out), (Lines{"Export 1: 1 time ticket deleted in QuickBooks.",
                                       "2 time tickets of the export remain in QuickBooks."}));
    EXPECT_EQ(linesOf(run.err),
              (Lines{"Not undone: the journal's row 1 of ExportTicket (export 1): its Undone is "
                     "\"yes\", not Yes or No; that row cannot be used until it is mended.",
                     "Not undone: the journal's row 2 of ExportTicket (export 1): its Hours is "
                     "\"abc\", not a number; that row cannot be used until it is mended."}));
    EXPECT_FALSE(contains(run.err + run.out, "QuickBooks answers")) << run.err;
    EXPECT_EQ(postedTickets().size(), 2u);
}

// --show-export prints one export's receipt: each ticket with its TxnID and state, a damaged
// row as damaged, and the totals of what the export left in QuickBooks.
TEST_P(PostingJournal, ShowExportPrintsTheReceiptAndNamesADamagedRow) {
    addDay("Worker Two", "2026-03-02", 7.5);
    exportAll();
    runOnJournal("update ExportTicket set Hours='abc' where Sequence=2");

    CliRun run = cli({"--data-dir", data, "--show-export", "1"});
    EXPECT_EQ(run.status, 0) << run.err;
    const Lines lines = linesOf(run.out);
    ASSERT_GE(lines.size(), 6u) << run.out;
    EXPECT_EQ(lines[1], "1 time ticket posted; 1 time ticket in QuickBooks now, 8.00 hours.");
    EXPECT_EQ(lines[3], "Employee\tDate\tWage item\tHours\tTxnID\tState\tMessage");
    EXPECT_TRUE(lines[4].starts_with("Worker One\t2026-03-02\tHourly\t8\t")) << lines[4];
    EXPECT_TRUE(lines[4].ends_with("\tposted\t")) << lines[4];
    EXPECT_TRUE(contains(lines[5], "\tdamaged\trow 2 of ExportTicket (export 1): its Hours is"))
        << lines[5];
    EXPECT_EQ(lines.back(), "All tickets\t\t1\t8.00");

    for (const char* id : {"9", "x"}) {
        run = cli({"--data-dir", data, "--show-export", id});
        EXPECT_EQ(run.status, 1) << id;
        EXPECT_TRUE(contains(run.err, "--list-exports shows them")) << run.err;
        EXPECT_EQ(run.out, "");
    }
}

// A refused ticket's journal row keeps the accounting system's message, which the receipt
// shows whole; a file from before the journal kept messages gets the column at the start, its
// refused rows without one.
TEST_P(PostingJournal, ARefusedTicketKeepsItsMessageInTheJournal) {
    // A negative duration is refused; the accounting system stops there and processes nothing
    // after it.
    addDay("Worker One", "2026-03-03", -1.5);
    addDay("Worker One", "2026-03-04", 7.5);
    CliRun run = cliWithFiles({"--export"});
    ASSERT_EQ(run.status, 3) << run.err;
    const std::string said = "Not posted: ticket 2 (Worker One, 2026-03-03, -1.5 hours, Hourly): ";
    const Lines left = linesOf(run.err);
    ASSERT_EQ(left.size(), 2u) << run.err;
    ASSERT_TRUE(left[0].starts_with(said)) << left[0];
    const std::string message = left[0].substr(said.size());
    EXPECT_TRUE(message.ends_with("in the field \"Duration\".")) << message;

    const auto receiptOf = [&](const char* id) {
        const CliRun shown = cli({"--data-dir", data, "--show-export", id});
        EXPECT_EQ(shown.status, 0) << shown.err;
        const Lines lines = linesOf(shown.out);
        return Lines(std::find(lines.begin(), lines.end(),
                               "Employee\tDate\tWage item\tHours\tTxnID\tState\tMessage"),
                     lines.end());
    };
    Lines receipt = receiptOf("1");
    ASSERT_GE(receipt.size(), 4u);
    EXPECT_TRUE(receipt[1].ends_with("\tposted\t")) << receipt[1];
    EXPECT_EQ(receipt[2], "Worker One\t2026-03-03\tHourly\t-1.5\t\trefused\t" + message);
    EXPECT_EQ(receipt[3],
              "Worker One\t2026-03-04\tHourly\t7.5\t\tnot posted\tThe request has not been "
              "processed.");

    // The same file as the journal was before it kept messages.
    runOnJournal("alter table ExportTicket drop column Message");
    receipt = receiptOf("1");
    ASSERT_GE(receipt.size(), 4u);
    EXPECT_EQ(receipt[2], "Worker One\t2026-03-03\tHourly\t-1.5\t\trefused\t");
    run = cliWithFiles({"--export"});
    ASSERT_EQ(run.status, 3) << run.err;
    receipt = receiptOf("2");
    ASSERT_GE(receipt.size(), 3u);
    EXPECT_EQ(receipt[1], "Worker One\t2026-03-03\tHourly\t-1.5\t\trefused\t" + message);
    EXPECT_EQ(receiptOf("1")[2], "Worker One\t2026-03-03\tHourly\t-1.5\t\trefused\t");
}

INSTANTIATE_TEST_SUITE_P(PagedAndWhole, PostingJournal, ::testing::Values(false, true),
                         testing::checkWayName);

}  // namespace
}  // namespace vantrell
