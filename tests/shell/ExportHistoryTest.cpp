#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "diag/FileSystem.h"
#include "interfacedb/InterfaceDatabase.h"
#include "interfacedb/modDataDef.h"
#include "interfacedb/stage/PostingJournal.h"
#include "qblink/FakeRequestProcessor.h"
#include "shell/ShellFakes.h"
#include "shell/window/ExportHistory.h"
#include "shell/window/UndoOutcomeText.h"
#include "support/StagedRows.h"
#include "support/TestLog.h"

namespace vantrell {
namespace {

using Lines = std::vector<std::string>;

// The history as the window logic shows it, over a journal written through the stage module.
struct ExportHistoryFixture : ::testing::Test {
    testing::TestLog t;
    ProgramState state;
    testing::SaveAnswers dialog;
    db::Connection* cn = nullptr;

    void SetUp() override {
        ASSERT_TRUE(blnConfigureInterfaceDatabase(t.log, state.interfaceDb));
        ASSERT_TRUE(blnOpenConnection(t.log, state.interfaceDb.cnInterface,
                                      state.interfaceDb.strInterfaceDB));
        cn = &*state.interfaceDb.cnInterface;
    }

    void stage(int sequence, const std::string& name, const std::string& date, float hours,
               const std::string& payType) {
        testing::addPunchRow(*cn, sequence, name, *db::DateTime::parse(date), hours, payType);
    }

    // Records an export of what Punch holds to `company`, then empties Punch for the next.
    std::int64_t sendExport(const std::string& company, const std::string& when) {
        const std::int64_t id = stage::recordSentExport(*cn, *db::DateTime::parse(when), company);
        cn->execute("delete from Punch");
        return id;
    }

    // Confirms the export's ticket `sequence` with `txnId`.
    void confirm(std::int64_t id, int sequence, const std::string& txnId) {
        for (const stage::JournalTicket& ticket : stage::exportTickets(*cn, id)) {
            if (ticket.sequence == sequence) {
                stage::CheckSettlement settlement;
                settlement.confirmed.emplace_back(ticket.row, txnId);
                stage::settleCheck(*cn, settlement);
            }
        }
    }

    static Lines row(const ExportHistory& history, std::size_t r) {
        Lines cells;
        for (std::size_t c = 0; c < ExportHistory::kColumnCount; ++c) {
            cells.push_back(history.text(r, c));
        }
        return cells;
    }

    static Lines column(const TicketTable& table, std::size_t c) {
        Lines cells;
        for (std::size_t r = 0; r < table.rowCount(); ++r) {
            cells.push_back(table.text(r, c));
        }
        return cells;
    }
};

TEST_F(ExportHistoryFixture, ListsEveryExportNewestFirstWithItsCountsAndTheSettledLine) {
    stage(1, "Worker One", "2026-03-02", 8, "Hourly");
    stage(2, "Worker Two", "2026-03-02", 7.5f, "Hourly");
    const std::int64_t first = sendExport("C:\\Co.qbw", "2026-03-03 09:00:00");
    confirm(first, 1, "T-1");
    confirm(first, 2, "T-2");
    stage::finishExport(*cn, first, *db::DateTime::parse("2026-03-03 09:00:05"));
    stage::markUndone(*cn, first, {"T-2"});
    stage(1, "Worker One", "2026-03-04", 4, "Overtime");
    const std::int64_t second = sendExport("C:\\Co.qbw", "2026-03-05 10:00:00");
    stage::CheckSettlement settled;
    settled.settled.emplace_back(7, "T-9");
    stage(7, "Keyed By Hand", "2026-03-01", 1, "Hourly");
    stage::settleCheck(*cn, settled);

    ExportHistory history(state);
    ASSERT_EQ(history.rowCount(), 2u);
    EXPECT_EQ(history.exportAt(0).id, second);
    EXPECT_EQ(row(history, 0),
              (Lines{"2", "2026-03-05 10:00:00", "", "C:\\Co.qbw", "0", "0", "1", ""}));
    EXPECT_EQ(row(history, 1), (Lines{"1", "2026-03-03 09:00:00", "2026-03-03 09:00:05",
                                      "C:\\Co.qbw", "2", "1", "0", ""}));
    EXPECT_EQ(history.settledLine(),
              "1 time ticket found in QuickBooks by the check without an export of Vantrell "
              "settled.");
    EXPECT_THROW(history.text(2, 0), std::out_of_range);
    EXPECT_THROW(history.text(0, ExportHistory::kColumnCount), std::out_of_range);
}

TEST_F(ExportHistoryFixture, AReceiptShowsEachTicketsStateAndTotalsOnlyWhatIsInQuickBooks) {
    stage(1, "Worker One", "2026-03-02", 8, "Hourly");
    stage(2, "Worker One", "2026-03-03", 7.5f, "Hourly");
    stage(3, "Worker Two", "2026-03-02", 6, "Overtime");
    stage(4, "Worker Two", "2026-03-03", 5, "Hourly");
    stage(5, "Worker Three", "2026-03-03", 2, "Hourly");
    const std::int64_t id = sendExport("/data/Co.qbw", "2026-03-04 08:00:00");
    confirm(id, 1, "T-1");
    confirm(id, 2, "T-2");
    confirm(id, 3, "T-3");
    stage::markUndone(*cn, id, {"T-3"});
    // The accounting system's longest message, kept whole.
    std::string refusal =
        "There is an invalid reference to QuickBooks Employee \"Worker Two\" in the TimeTracking.";
    refusal += std::string(255 - refusal.size(), 'x');
    ASSERT_EQ(refusal.size(), 255u);
    stage::markSentTicket(*cn, id, 4, stage::TicketState::Refused, refusal);

    ExportHistory history(state);
    EXPECT_EQ(history.receipt(), nullptr);
    history.select(0);
    ASSERT_NE(history.receipt(), nullptr);
    const ExportReceipt& receipt = *history.receipt();
    EXPECT_EQ(column(receipt.table(), 4), (Lines{"T-1", "T-2", "T-3", "", ""}));
    EXPECT_EQ(column(receipt.table(), 5),
              (Lines{"posted", "posted", "undone", "refused", "unconfirmed"}));
    EXPECT_EQ(column(receipt.table(), 6), (Lines{"", "", "", refusal, ""}));
    EXPECT_EQ(totalsRows(receipt.totals()),
              (std::vector<TotalsRow>{{"Employee", "Worker One", "2", "15.50"},
                                      {"Wage item", "Hourly", "2", "15.50"},
                                      {"All tickets", "", "2", "15.50"}}));
    EXPECT_EQ(receipt.summaryLines(),
              (Lines{"Export 1, not finished, to \"/data/Co.qbw\".",
                     "3 time tickets posted, 1 of them undone since; 2 time tickets in "
                     "QuickBooks now, 15.50 hours.",
                     "1 time ticket sent without an answer: whether QuickBooks holds it is "
                     "unknown until the next run's check.",
                     "1 time ticket was refused or not posted."}));
    EXPECT_TRUE(receipt.canUndo());
    EXPECT_EQ(receipt.undoConfirmation(),
              "Undo export 1? This deletes its 2 time tickets (15.50 hours) from the company "
              "file \"/data/Co.qbw\". 1 time ticket sent without an answer is left alone.");

    history.select(std::nullopt);
    EXPECT_EQ(history.receipt(), nullptr);
}

TEST_F(ExportHistoryFixture, DamagedRowsShowAsDamagedAndCountInNoTotal) {
    stage(1, "Worker One", "2026-03-02", 8, "Hourly");
    stage(2, "Worker Two", "2026-03-02", 6, "Hourly");
    const std::int64_t id = sendExport("Co.qbw", "2026-03-04 08:00:00");
    confirm(id, 1, "T-1");
    confirm(id, 2, "T-2");
    cn->execute("update ExportTicket set Hours='abc' where Sequence=2");
    cn->execute("insert into ExportRun (ID) values (null)");

    ExportHistory history(state);
    ASSERT_EQ(history.rowCount(), 2u);
    EXPECT_EQ(row(history, 0)[7], "1 ticket row damaged");
    const Lines damagedRun = row(history, 1);  // last: it cannot pass for the newest export
    EXPECT_EQ(damagedRun[0], "(damaged)");
    EXPECT_EQ(damagedRun[4], "");
    EXPECT_NE(damagedRun[7].find("damaged: row 2 of ExportRun"), std::string::npos)
        << damagedRun[7];
    history.select(1);
    EXPECT_EQ(history.receipt(), nullptr);  // nothing to show, nothing to undo

    history.select(0);
    ASSERT_NE(history.receipt(), nullptr);
    const ExportReceipt& receipt = *history.receipt();
    EXPECT_EQ(column(receipt.table(), 5), (Lines{"posted", "damaged"}));
    EXPECT_NE(receipt.table().text(1, 6).find("row 2 of ExportTicket (export 1)"),
              std::string::npos)
        << receipt.table().text(1, 6);
    EXPECT_EQ(totalHoursText(receipt.totals().overall.hours), "8.00");
    EXPECT_EQ(receipt.totals().overall.tickets, 1);
    EXPECT_EQ(receipt.summaryLines().back(),
              "1 ticket row of the posting journal cannot be read (marked damaged); they are in "
              "no total.");
    EXPECT_EQ(receipt.undoConfirmation(),
              "Undo export 1? This deletes its 1 time ticket (8.00 hours) from the company file "
              "\"Co.qbw\". 1 damaged journal row is left alone.");
}

TEST_F(ExportHistoryFixture, TheReceiptIsSavedAsCsvThatNoSpreadsheetRunsAsAFormula) {
    stage(1, "=HYPERLINK(\"evil\")", "2026-03-02", 8, "Hourly");
    stage(2, "Smith, \"Nan\"\nJr", "2026-03-01", 7.5f, "@Sick");
    const std::int64_t id = sendExport("Co.qbw", "2026-03-04 08:00:00");
    confirm(id, 1, "T-1");

    ExportHistory history(state);
    history.select(0);
    ASSERT_NE(history.receipt(), nullptr);
    dialog.answers.push_back(pathToUtf8(t.sandbox.file("Receipt.csv")));
    EXPECT_TRUE(history.receipt()->saveAsCsv(t.log, dialog));
    EXPECT_EQ(dialog.suggested, Lines{"Export 1.csv"});
    EXPECT_EQ(t.sandbox.read("Receipt.csv"),
              "\xEF\xBB\xBF"
              "Employee,Date,Wage item,Hours,TxnID,State,Message\r\n"
              "\"'=HYPERLINK(\"\"evil\"\")\",2026-03-02,Hourly,8,T-1,posted,\r\n"
              "\"Smith, \"\"Nan\"\"\nJr\",2026-03-01,\"'@Sick\",7.5,,unconfirmed,\r\n");

    const std::string gone = pathToUtf8(t.sandbox.file("gone") / "Receipt.csv");
    dialog.answers.push_back(gone);
    EXPECT_FALSE(history.receipt()->saveAsCsv(t.log, dialog));
    ASSERT_EQ(t.prompter.shown.size(), 1u);
    EXPECT_NE(t.prompter.shown[0].text.find(gone), std::string::npos);
}

TEST_F(ExportHistoryFixture, TheReceiptAsTabSeparatedLinesKeepsEachTicketOnOneLine) {
    stage(1, "Tab\tName", "2026-03-02", 8, "Hourly");
    const std::int64_t id = sendExport("Co.qbw", "2026-03-04 08:00:00");
    confirm(id, 1, "T-1");
    const std::optional<ExportReceipt> receipt = ExportReceipt::read(*cn, id);
    ASSERT_TRUE(receipt);
    EXPECT_FALSE(ExportReceipt::read(*cn, id + 1));
    EXPECT_EQ(receiptAsTabSeparatedLines(*receipt),
              (Lines{"Export 1, not finished, to \"Co.qbw\".",
                     "1 time ticket posted; 1 time ticket in QuickBooks now, 8.00 hours.",
                     "Employee\tDate\tWage item\tHours\tTxnID\tState\tMessage",
                     "Tab Name\t2026-03-02\tHourly\t8\tT-1\tposted\t", "",
                     "Total of\tName\tTickets\tHours", "Employee\tTab Name\t1\t8.00",
                     "Wage item\tHourly\t1\t8.00", "All tickets\t\t1\t8.00"}));
}

// The window's undo goes through the main window's session: an export posted to another
// company file, or one with no session at all, is refused before anything is asked of
// QuickBooks, and the journal is left as it was.
TEST_F(ExportHistoryFixture, AnUndoIsRefusedOutsideTheCompanyFileOfItsExport) {
    stage(1, "Worker One", "2026-03-02", 8, "Hourly");
    const std::int64_t id = sendExport(pathToUtf8(t.sandbox.file("Posted.qbw")), "2026-03-04");
    confirm(id, 1, "T-1");
    testing::ProcessorScript processor;
    QuickBooksLink link(t.log, state.interfaceDb, state.extraction.outcome,
                        pathToUtf8(t.sandbox.file("Other.qbw")), processor.factory());

    ExportHistory history(state);
    EXPECT_EQ(history.undoSelected(t.log, link).front().text, "Select an export first.");
    history.select(0);
    const std::vector<UndoLine> lines = history.undoSelected(t.log, link);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(lines[0].text.starts_with("Export 1 was posted to the company file \"" +
                                          pathToUtf8(t.sandbox.file("Posted.qbw")) + "\""))
        << lines[0].text;
    EXPECT_TRUE(lines[0].text.ends_with("it can be undone only there. Nothing was deleted."));
    EXPECT_TRUE(processor.requests.empty());
    EXPECT_EQ(history.text(0, 5), "0");
    EXPECT_EQ(history.receipt()->table().text(0, 5), "posted");
}

// The lines every front end shows after an undo, by what the undo found.
TEST(UndoOutcomeText, SaysWhatWasDeletedGoneKeptAndUnknown) {
    using Kind = QuickBooksLink::UndoOutcome::Kind;
    const struct {
        QuickBooksLink::UndoOutcome outcome;
        Lines lines;
        std::size_t kept;  // lines marked as a ticket kept
    } cases[] = {
        {{Kind::NothingLeft, 0, 0, 0, {}, false},
         {"Export 4 has no time tickets left to undo; nothing was deleted."},
         0},
        {{Kind::AllGone, 1, 0, 0, {}, false},
         {"Export 4: 1 time ticket deleted in QuickBooks."},
         0},
        {{Kind::SomeRemain, 2, 1, 1, {"Kept: Worker One on 2026-03-02 (QuickBooks: in use)"}, true},
         {"Export 4: 2 time tickets deleted in QuickBooks.",
          "1 time ticket of the export was no longer in QuickBooks: already gone, not deleted by "
          "this undo.",
          "Kept: Worker One on 2026-03-02 (QuickBooks: in use)",
          "1 time ticket of the export remains in QuickBooks.",
          "1 time ticket of the export was sent without an answer: whether QuickBooks holds it "
          "is unknown, so nothing was deleted for it. The next run settles them; then undo the "
          "export again.",
          "Vantrell.mdb could not record what this undo deleted (see VantrellLog.txt); "
          "QuickBooks no longer holds those tickets. The next undo of export 4 finds them gone "
          "and records it."},
         1},
    };
    for (const auto& c : cases) {
        Lines text;
        std::size_t kept = 0;
        for (const UndoLine& line : undoOutcomeLines(4, c.outcome, "undo of export 4")) {
            text.push_back(line.text);
            kept += line.keptTicket ? 1 : 0;
        }
        EXPECT_EQ(text, c.lines);
        EXPECT_EQ(kept, c.kept);
    }
}

}  // namespace
}  // namespace vantrell
