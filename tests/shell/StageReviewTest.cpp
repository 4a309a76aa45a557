#include <gtest/gtest.h>

#include <filesystem>

#include "diag/FileSystem.h"
#include "interfacedb/InterfaceDatabase.h"
#include "interfacedb/modDataDef.h"
#include "interfacedb/stage/Stage.h"
#include "shell/ShellFakes.h"
#include "shell/window/StageReview.h"
#include "support/StagedRows.h"
#include "support/TestLog.h"

namespace vantrell {
namespace {

struct StageReviewFixture : ::testing::Test {
    testing::TestLog t;
    InterfaceDatabase interfaceDb;
    testing::SaveAnswers dialog;
    QuickBooksLink::PostedCheck check{true, 3, {}};

    void SetUp() override {
        ASSERT_TRUE(blnConfigureInterfaceDatabase(t.log, interfaceDb));
        ASSERT_TRUE(blnOpenConnection(t.log, interfaceDb.cnInterface, interfaceDb.strInterfaceDB));
    }

    void stage(int sequence, const std::string& name, const std::string& date, float hours,
               const std::string& payType) {
        const auto parsed = db::DateTime::parse(date);
        testing::addPunchRow(*interfaceDb.cnInterface, sequence, name,
                             parsed ? *parsed : *db::DateTime::parse("2026-01-01"), hours, payType);
        if (!parsed) {  // a damaged value, as a database edited by hand may hold
            interfaceDb.cnInterface->execute("update Punch set [Date] = '" + date +
                                             "' where Sequence = " + std::to_string(sequence));
        }
    }

    std::string punchDump() {
        std::string dump;
        for (const stage::StagedTicket& ticket :
             stage::readStagedTickets(*interfaceDb.cnInterface)) {
            dump += std::to_string(ticket.sequence) + ticket.name + ticket.payType + "|";
        }
        return dump;
    }
};

TEST_F(StageReviewFixture, ShowsEveryStagedTicketWithTotalsAndWhatTheCheckSettled) {
    stage(2, "Worker One", "2026-03-02", 8, "Hourly");
    stage(1, "=HYPERLINK(\"evil\")", "2026-03-01", 7.5f, "Hourly");
    stage(3, "Smith, \"Nan\"\nJr", "not a date", 1.25f, "Sick");
    const std::string before = punchDump();

    StageReview review(*interfaceDb.cnInterface, check);
    EXPECT_EQ(review.table().rowCount(), 3u);
    EXPECT_EQ(review.table().text(0, 0), "=HYPERLINK(\"evil\")");  // the stage's Sequence order
    EXPECT_EQ(review.table().text(2, 1), kNotADate);
    EXPECT_EQ(review.summaryLines(),
              (std::vector<std::string>{
                  "3 time tickets are staged, 16.75 hours in all.",
                  "The check found 3 time tickets in QuickBooks already and took them out of "
                  "the stage."}));
    EXPECT_EQ(punchDump(), before);  // the review changes nothing

    check = {true, 1, {}};
    EXPECT_EQ(StageReview(*interfaceDb.cnInterface, check).summaryLines().back(),
              "The check found 1 time ticket in QuickBooks already and took it out of the stage.");
    check = {false, 0, {"x"}};
    EXPECT_EQ(StageReview(*interfaceDb.cnInterface, check).summaryLines().back(),
              "The check for time tickets already in QuickBooks was not made (see the main "
              "window's list).");

    const std::vector<std::string> lines = reviewAsTabSeparatedLines(review);
    const std::vector<std::string> expected = {
        "3 time tickets are staged, 16.75 hours in all.",
        "The check found 3 time tickets in QuickBooks already and took them out of the stage.",
        "Employee\tDate\tWage item\tHours",
        "=HYPERLINK(\"evil\")\t2026-03-01\tHourly\t7.5",
        "Worker One\t2026-03-02\tHourly\t8",
        "Smith, \"Nan\" Jr\t(not a date)\tSick\t1.25",
        "",
        "Total of\tName\tTickets\tHours",
        "Employee\t=HYPERLINK(\"evil\")\t1\t7.50",
        "Employee\tSmith, \"Nan\" Jr\t1\t1.25",
        "Employee\tWorker One\t1\t8.00",
        "Wage item\tHourly\t2\t15.50",
        "Wage item\tSick\t1\t1.25",
        "All tickets\t\t3\t16.75",
    };
    EXPECT_EQ(lines, expected);
}

TEST_F(StageReviewFixture, SaveAsCsvWritesTheTableInTheOrderShown) {
    stage(1, "Zo\xC3\xAB", "2026-03-02", 8, "Hourly");
    stage(2, "-Anna", "2026-03-01", 7.5f, "Hourly");
    StageReview review(*interfaceDb.cnInterface, check);
    review.table().sortBy(1, true);

    dialog.answers.push_back(pathToUtf8(t.sandbox.file("Review.csv")));
    EXPECT_TRUE(review.saveAsCsv(t.log, dialog));
    EXPECT_EQ(dialog.suggested, (std::vector<std::string>{"Staged tickets.csv"}));
    EXPECT_EQ(t.sandbox.read("Review.csv"),
              "\xEF\xBB\xBF"
              "Employee,Date,Wage item,Hours\r\n"
              "\"'-Anna\",2026-03-01,Hourly,7.5\r\n"
              "Zo\xC3\xAB,2026-03-02,Hourly,8\r\n");
    EXPECT_TRUE(t.prompter.shown.empty());

    dialog.answers.push_back("");  // cancelled: nothing written, nothing said
    EXPECT_FALSE(review.saveAsCsv(t.log, dialog));
    EXPECT_TRUE(t.prompter.shown.empty());
}

TEST_F(StageReviewFixture, ACsvThatCannotBeWrittenIsLoggedAndShownNamingThePath) {
    stage(1, "Worker One", "2026-03-02", 8, "Hourly");
    StageReview review(*interfaceDb.cnInterface, check);
    const std::string path = pathToUtf8(t.sandbox.file("gone") / "Review.csv");
    dialog.answers.push_back(path);
    EXPECT_FALSE(review.saveAsCsv(t.log, dialog));
    ASSERT_EQ(t.prompter.shown.size(), 1u);
    EXPECT_NE(t.prompter.shown[0].text.find(path), std::string::npos) << t.prompter.shown[0].text;
    EXPECT_NE(t.logText().find("SaveCsv"), std::string::npos);
    EXPECT_NE(t.logText().find(path), std::string::npos);

    dialog.fail = true;  // a dialog that cannot be shown is logged the same way
    EXPECT_FALSE(review.saveAsCsv(t.log, dialog));
    EXPECT_EQ(t.prompter.shown.size(), 2u);
}

}  // namespace
}  // namespace vantrell
