#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "diag/Clock.h"
#include "support/TestLog.h"

namespace vantrell {
namespace {

using testing::kStamp;
using testing::TestLog;

TEST(LogTimestamp, TwelveHourClockWithUnpaddedMinute) {
    struct Row {
        int hour, minute;
        const char* expected;
    };
    const Row rows[] = {
        {0, 7, "12/31/2026 12:7 am "},    {9, 0, "12/31/2026 09:0 am "},
        {12, 30, "12/31/2026 12:30 pm "}, {23, 59, "12/31/2026 11:59 pm "},
        {11, 5, "12/31/2026 11:5 am "},   {13, 45, "12/31/2026 01:45 pm "},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(formatLogTimestamp({2026, 12, 31, row.hour, row.minute, 0}), row.expected)
            << row.hour << ":" << row.minute;
    }
    EXPECT_EQ(formatLogTimestamp({2027, 1, 2, 0, 0, 0}), "01/02/2027 12:0 am ");
}

TEST(WriteLogEntry, ErrorWithEmptyMessageLogsDescriptionAndBlankSecondLine) {
    TestLog t;
    try {
        throw std::runtime_error("Disk full");
    } catch (...) {
        t.log.WriteLogEntry("ERROR", "cmdExport_Click", "");
    }
    EXPECT_EQ(t.logText(), std::string(kStamp) + "cmdExport_Click Disk full\r\n \r\n");
    ASSERT_EQ(t.prompter.shown.size(), 1u);
    EXPECT_EQ(t.prompter.shown[0].text, "Disk full\r\ncmdExport_Click");
    EXPECT_EQ(t.prompter.shown[0].title, "ERROR");
    EXPECT_EQ(t.prompter.shown[0].icon, MessageIcon::Warning);
}

TEST(WriteLogEntry, ErrorWithMessageShowsMessageDescriptionAndProcedure) {
    TestLog t;
    try {
        throw std::runtime_error("Could not find file");
    } catch (...) {
        t.log.WriteLogEntry("error", "blnOpenConnection", "/data/ChronelV7.mde");
    }
    EXPECT_EQ(t.logText(), std::string(kStamp) +
                               "blnOpenConnection Could not find file\r\n /data/ChronelV7.mde\r\n");
    ASSERT_EQ(t.prompter.shown.size(), 1u);
    EXPECT_EQ(t.prompter.shown[0].text,
              "/data/ChronelV7.mde\r\nCould not find file\r\nblnOpenConnection");
    EXPECT_EQ(t.prompter.shown[0].title, "ERROR");
}

TEST(WriteLogEntry, ErrorOutsideAHandlerHasAnEmptyDescription) {
    TestLog t;
    t.log.WriteLogEntry("ERROR", "ShowIssues", "");
    EXPECT_EQ(t.logText(), std::string(kStamp) + "ShowIssues \r\n \r\n");
    EXPECT_EQ(t.prompter.shown.at(0).text, "\r\nShowIssues");
}

TEST(WriteLogEntry, NoteIsOneLineAndShowsTheMessageAlone) {
    TestLog t;
    t.log.WriteLogEntry("NOTE", "Main", "Couldn't configure the interface.");
    t.log.WriteLogEntry("NOTE", "GetChronelData", "");
    t.log.WriteLogEntry("Warning", "X", "line one\r\nline two");
    EXPECT_EQ(t.logText(), std::string(kStamp) + "Main Couldn't configure the interface.\r\n" +
                               kStamp + "GetChronelData \r\n" + kStamp +
                               "X line one\r\nline two\r\n");
    ASSERT_EQ(t.prompter.shown.size(), 3u);
    EXPECT_EQ(t.prompter.shown[0].text, "Couldn't configure the interface.");
    EXPECT_EQ(t.prompter.shown[0].title, "NOTE");
    EXPECT_EQ(t.prompter.shown[0].icon, MessageIcon::Information);
    EXPECT_EQ(t.prompter.shown[1].text, "");
    EXPECT_EQ(t.prompter.shown[2].title, "NOTE");
}

// The box may be the last thing the program does (it can be killed while the box is up, or the
// box ends it): the entry must be in the file by then, not in a buffer closed afterwards.
TEST(WriteLogEntry, TheEntryIsInTheFileWhileTheBoxIsShown) {
    struct ReadingPrompter final : Prompter {
        testing::Sandbox& sandbox;
        std::vector<std::string> logWhenShown;
        explicit ReadingPrompter(testing::Sandbox& s) : sandbox(s) {}
        void show(const std::string&, const std::string&, MessageIcon) override {
            logWhenShown.push_back(sandbox.read("VantrellLog.txt"));
        }
    };
    testing::Sandbox sandbox;
    ReadingPrompter prompter(sandbox);
    testing::FakeClock clock;
    modErrorLog log(ProgramFolder(sandbox.path()), prompter, clock);
    log.WriteLogEntry("NOTE", "Form_Load", "first");
    try {
        throw std::runtime_error("Disk full");
    } catch (...) {
        log.WriteLogEntry("ERROR", "cmdExport_Click", "second");
    }
    ASSERT_EQ(prompter.logWhenShown.size(), 2u);
    EXPECT_EQ(prompter.logWhenShown[0], std::string(kStamp) + "Form_Load first\r\n");
    EXPECT_EQ(prompter.logWhenShown[1], std::string(kStamp) + "Form_Load first\r\n" + kStamp +
                                            "cmdExport_Click Disk full\r\n second\r\n");
}

TEST(WriteLogEntry, AppendsToAnExistingLog) {
    TestLog t;
    t.sandbox.write("VantrellLog.txt", "earlier entry\r\n");
    t.log.WriteLogEntry("NOTE", "Main", "again");
    EXPECT_EQ(t.logText(), std::string("earlier entry\r\n") + kStamp + "Main again\r\n");
}

// A note for the log's reader goes into the file as a note does, without a box; a log that
// cannot be written loses it quietly.
TEST(RecordLogNote, AppendsANoteWithoutABox) {
    TestLog t;
    t.log.WriteLogEntry("NOTE", "Main", "shown");
    t.log.RecordLogNote("CheckPostedTickets", "Read 3 posted time tickets in 2 pages.");
    EXPECT_EQ(t.logText(), std::string(kStamp) + "Main shown\r\n" + kStamp +
                               "CheckPostedTickets Read 3 posted time tickets in 2 pages.\r\n");
    EXPECT_EQ(t.prompter.shown.size(), 1u);

    std::filesystem::create_directory(t.sandbox.file("elsewhere"));
    modErrorLog blocked(ProgramFolder(t.sandbox.file("elsewhere")), t.prompter, t.clock);
    std::filesystem::create_directory(t.sandbox.file("elsewhere/VantrellLog.txt"));
    blocked.RecordLogNote("Main", "lost");
    EXPECT_EQ(t.prompter.shown.size(), 1u);
}

TEST(WriteLogEntry, UnwritableLogStillShowsTheBoxAndReturns) {
    TestLog t;
    std::filesystem::create_directory(t.sandbox.file("VantrellLog.txt"));
    t.log.WriteLogEntry("NOTE", "Main", "Couldn't configure the interface.");
    ASSERT_EQ(t.prompter.shown.size(), 1u);
    EXPECT_EQ(t.prompter.shown[0].text, "Couldn't configure the interface.");

    testing::FakePrompter prompter;
    testing::FakeClock clock;
    modErrorLog missing(ProgramFolder(t.sandbox.file("no/such/folder")), prompter, clock);
    missing.WriteLogEntry("ERROR", "Form_Load", "");
    EXPECT_EQ(prompter.shown.size(), 1u);
}

}  // namespace
}  // namespace vantrell
