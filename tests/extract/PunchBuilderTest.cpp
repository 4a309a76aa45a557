#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <memory>

#include "ExtractionFixture.h"
#include "extract/ExtractionStatements.h"
#include "extract/PunchBuilder.h"
#include "interfacedb/stage/StageStatements.h"

namespace vantrell {
namespace {

using sampledata::Cell;
using testing::kStamp;

struct PunchBuilderTest : testing::ExtractionFixture {
    // Opens the sets as the run does, positioned on the first day.
    void openSets() {
        open();
        auto snapshot = [&](RecordsetRef& rs, const char* sql) {
            rs = std::make_unique<db::Recordset>();
            rs->open(sql, *state.cnChronel, db::CursorType::Static, db::LockType::ReadOnly);
        };
        snapshot(state.rsExportDfn, extraction::kExportDefinitionQuery);
        snapshot(state.rsReportData, extraction::kDaysQuery);
        state.rsPunch = std::make_unique<db::Recordset>();
        state.rsPunch->open(stage::kPunchTable, *interfaceDb.cnInterface, db::CursorType::Dynamic,
                            db::LockType::Optimistic);
    }

    // Calls the builder once for every day, in order.
    void buildEachDay(const std::string& hours, const std::string& payType) {
        for (; !state.rsReportData->eof(); state.rsReportData->moveNext()) {
            CreateWorkRecord(t.log, state, hours, payType);
        }
    }
};

TEST_F(PunchBuilderTest, OnlyHoursAboveFiveThousandthsInSizeMakeARowAsRead) {
    const Cell hours[] = {0.005, -0.005, 0.0051, 0.0, -1.5, Cell(), 8, 0.004999};
    chronel.add(standardExport());
    for (std::size_t i = 0; i < std::size(hours); ++i) {
        chronel.add(day("Case " + std::to_string(i), "2024-05-06", hours[i]));
    }
    openSets();
    buildEachDay("Reg", "RGSTD");
    EXPECT_EQ(punch(), (std::vector<std::string>{"1|Case 2|2024-05-06|0.0051|Pay RGSTD",
                                                 "2|Case 4|2024-05-06|-1.5|Pay RGSTD",
                                                 "3|Case 6|2024-05-06|8|Pay RGSTD"}));
    EXPECT_EQ(state.lngSequence, 3);
    EXPECT_EQ(t.logText(), "");
}

TEST_F(PunchBuilderTest, FailuresAreLoggedWithBothColumnsAndStoreNothing) {
    chronel.add(standardExport());
    chronel.add(day(Cell(), "2024-05-06", 8));  // no name, the first day
    chronel.add(day("A", "2024-05-06", 8));
    chronel.add(day(std::string(51, 'B'), "2024-05-06", 8));  // too long for Punch.Name
    chronel.add(day("C", "06/05/2024", 8));                   // not a date
    chronel.add(day("D", Cell(), 8));                         // no date
    openSets();
    CreateNonWorkRecord(t.log, state, "Reg", "A4STD");  // no such pay-type column
    EXPECT_EQ(state.lngSequence, 0);
    state.lngSequence = std::numeric_limits<std::int32_t>::max();
    CreateWorkRecord(t.log, state, "Reg", "RGSTD");
    EXPECT_EQ(state.lngSequence, std::numeric_limits<std::int32_t>::max());

    state.lngSequence = 0;
    buildEachDay("Reg", "RGSTD");
    EXPECT_EQ(punch(), std::vector<std::string>{"2|A|2024-05-06|8|Pay RGSTD"});
    EXPECT_EQ(state.lngSequence, 5);  // numbers taken by rows that were then refused

    const std::string log = t.logText();
    const auto entries = [&](const std::string& text) {
        std::size_t count = 0;
        for (std::size_t at = log.find(text); at != std::string::npos;
             at = log.find(text, at + 1)) {
            ++count;
        }
        return count;
    };
    EXPECT_EQ(log.rfind(std::string(kStamp) + "CreateNonWorkRecord Item cannot be found", 0), 0u);
    EXPECT_EQ(entries("\r\n Reg A4STD\r\n"), 1u);
    EXPECT_EQ(entries("CreateWorkRecord Overflow\r\n Reg RGSTD\r\n"), 1u);
    // Each failure names the row and what was wrong with its value.
    EXPECT_EQ(entries("CreateWorkRecord The field is too small to accept the amount of data you "
                      "attempted to add.  Try inserting or pasting less data: the name \"" +
                      std::string(51, 'B') +
                      "\" on 2024-05-06 is 51 characters, longer than 50\r\n Reg RGSTD\r\n"),
              1u);
    EXPECT_EQ(entries("CreateWorkRecord Type mismatch: the day (ADJUSTEDDATE) \"06/05/2024\" of "
                      "\"C\" is not a date\r\n Reg RGSTD\r\n"),
              1u);
    EXPECT_EQ(entries("CreateWorkRecord Field 'Punch.Date' cannot contain a Null value because "
                      "the Required property for this field is set to True. Enter a value in "
                      "this field: the day (ADJUSTEDDATE) of \"D\" is empty (Null)\r\n"),
              1u);
    EXPECT_EQ(entries("CreateWorkRecord Field 'Punch.Name' cannot contain a Null value because "
                      "the Required property for this field is set to True. Enter a value in "
                      "this field: the name (FULL NAME) on 2024-05-06 is empty (Null)\r\n"),
              1u);
}

}  // namespace
}  // namespace vantrell
