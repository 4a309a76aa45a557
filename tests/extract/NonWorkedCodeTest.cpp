#include <gtest/gtest.h>

#include <memory>

#include "ExtractionFixture.h"
#include "extract/ExtractionStatements.h"
#include "extract/NonWorkedCode.h"

namespace vantrell {
namespace {

using sampledata::AccrualTitles;
using sampledata::Cell;
using testing::kStamp;

struct NonWorkedCodeTest : testing::ExtractionFixture {
    // Opens the titles and the export definition as the run leaves them.
    void openSets(const AccrualTitles& titles, Cell holidayPay) {
        auto definition = standardExport();
        definition.payTypes["HOSTD"] = std::move(holidayPay);
        chronel.add(definition);
        chronel.add(titles);
        open();
        state.rsRules = std::make_unique<db::Recordset>();
        state.rsRules->open(extraction::kAccrualTitlesQuery, *state.cnChronel,
                            db::CursorType::Static, db::LockType::ReadOnly);
        state.rsExportDfn = std::make_unique<db::Recordset>();
        state.rsExportDfn->open(extraction::kExportDefinitionQuery, *state.cnChronel,
                                db::CursorType::Static, db::LockType::ReadOnly);
    }
};

TEST_F(NonWorkedCodeTest, CodesMatchTheBeginningOfATitleOrOfTheHolidayPayType) {
    const AccrualTitles titles{"Vacation", "Sick", "Personal"};
    openSets(titles, "Holiday Pay");
    const struct {
        const char* code;
        const char* category;
    } cases[] = {
        {"vac", "ACCRUAL1"},
        {"VACATION", "ACCRUAL1"},
        {"V", "ACCRUAL1"},
        {"S", "ACCRUAL2"},
        {"SICK", "ACCRUAL2"},
        {"pers", "ACCRUAL3"},
        {"HOL", "HOLIDAY"},
        {"holiday pay", "HOLIDAY"},
        {"VACATION DAY", "VACATION DAY"},  // longer than the title
        {"AC", "AC"},                      // inside a title, not at its start
        {"Unknown", "Unknown"},            // returned in its own letter case
        {" SICK", " SICK"},                // blanks are not trimmed
    };
    for (const auto& c : cases) {
        EXPECT_EQ(strNonWkdCode(t.log, state, c.code), c.category) << c.code;
    }
    EXPECT_EQ(t.logText(), "");
}

TEST_F(NonWorkedCodeTest, LowerCategoryWinsAndTitlesWinOverTheHoliday) {
    const AccrualTitles titles{"", "Holiday Bonus", "Holiday Float"};
    openSets(titles, "Holiday Pay");
    EXPECT_EQ(strNonWkdCode(t.log, state, "HOLIDAY"), "ACCRUAL2");
    EXPECT_EQ(strNonWkdCode(t.log, state, "Holiday F"), "ACCRUAL3");
    EXPECT_EQ(strNonWkdCode(t.log, state, "Holiday P"), "HOLIDAY");
}

TEST_F(NonWorkedCodeTest, NullReachedOrNoTitlesRowIsLoggedWithTheCode) {
    const AccrualTitles titles{"Vacation", Cell(), "Personal"};
    openSets(titles, Cell());
    // A1TITLE matches before the Null titles are read.
    EXPECT_EQ(strNonWkdCode(t.log, state, "VAC"), "ACCRUAL1");
    EXPECT_EQ(t.logText(), "");

    EXPECT_EQ(strNonWkdCode(t.log, state, "SICK"), "");
    EXPECT_EQ(t.logText(), std::string(kStamp) + "strNonWkdCode Invalid use of Null\r\n SICK\r\n");
}

}  // namespace
}  // namespace vantrell
