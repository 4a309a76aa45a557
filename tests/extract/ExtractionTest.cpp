#include <gtest/gtest.h>

#include <sqlite3.h>

#include "ExtractionFixture.h"
#include "extract/Extraction.h"
#include "interfacedb/ObjectState.h"
#include "interfacedb/Sqlite.h"

namespace vantrell {
namespace {

using sampledata::AccrualTitles;
using sampledata::Cell;
using Rows = std::vector<std::string>;

using ExtractionTest = testing::ExtractionFixture;

TEST_F(ExtractionTest, WorkedDaysPostTheRegularBandsAndTheDifferentialOnesWhenFlagged) {
    auto definition = standardExport();
    definition.payTypes["RGOT2"] = "";
    definition.payTypes.erase("DFOT1");  // Null
    chronel.add(definition);
    chronel.add(AccrualTitles{"Vacation", "Sick", "Personal"});
    // Added out of order: the days come by name, then date.
    chronel.add(day("Cid", "2024-05-07", 0.0, 0.0, 0.0));
    chronel.add(day("Cid", "2024-05-06", 0.004, -2.0, 0.0, Cell(), Cell()));
    chronel.add(day("Ben", "2024-05-07", 8, 2, 0, Cell(), 1));
    chronel.add(day("Ben", "2024-05-06", 8, 0, 0, Cell(), -1));
    chronel.add(day("Ann", "2024-05-07", 8, 1.5, 0.5, ""));
    chronel.add(day("Ann", "2024-05-06", 8, 0, 0, Cell(), 0));
    run();
    EXPECT_EQ(punch(), (Rows{"1|Ann|2024-05-06|8|Pay RGSTD", "2|Ann|2024-05-07|8|Pay RGSTD",
                             "3|Ann|2024-05-07|1.5|Pay RGOT1", "4|Ann|2024-05-07|0.5|OT2",
                             "5|Ben|2024-05-06|8|Pay RGSTD", "6|Ben|2024-05-06|8|Pay DFSTD",
                             "7|Ben|2024-05-07|8|Pay RGSTD", "8|Ben|2024-05-07|2|Pay RGOT1",
                             "9|Ben|2024-05-07|8|Pay DFSTD", "10|Ben|2024-05-07|2|OT1",
                             "11|Cid|2024-05-06|-2|Pay RGOT1"}));
    EXPECT_EQ(names("Employee"), (Rows{"Ann", "Ben", "Cid"}));
    EXPECT_EQ(names("PayType"), (Rows{"OT1", "OT2", "Pay DFSTD", "Pay RGOT1", "Pay RGSTD"}));
    EXPECT_EQ(t.logText(), "");
    EXPECT_EQ(state.lngSequence, 11);
}

TEST_F(ExtractionTest, NonWorkedDaysPostTheirCategoryOrNothing) {
    chronel.add(standardExport());
    chronel.add(AccrualTitles{"Vacation", "Sick", "Unknown absence"});
    chronel.add(day("Eve", "2024-05-06", 8, 0, 0, "VAC"));
    chronel.add(day("Eve", "2024-05-07", 8, 1, 0, "SICK", -1));  // never differential
    chronel.add(day("Eve", "2024-05-08", 4, 0, 0, "*"));         // "Unknown"
    chronel.add(day("Eve", "2024-05-09", 3, 0, 0, "*SICK"));
    chronel.add(day("Eve", "2024-05-10", 8, 0, 0, "**"));  // "*", which nothing begins with
    chronel.add(day("Eve", "2024-05-13", 8, 0, 2, "HOL"));
    chronel.add(day("Eve", "2024-05-14", 8, 0, 0, "JURY"));
    chronel.add(day("Eve", "2024-05-15", 8, 0, 0, "  "));  // blanks: non-worked, no category
    chronel.add(day("Eve", "2024-05-16", 0.004, 0, 0, "vac"));
    run();
    EXPECT_EQ(punch(), (Rows{"1|Eve|2024-05-06|8|Pay A1STD", "2|Eve|2024-05-07|8|Pay A2STD",
                             "3|Eve|2024-05-07|1|Pay A2OT1", "4|Eve|2024-05-08|4|Pay A3STD",
                             "5|Eve|2024-05-09|3|Pay A2STD", "6|Eve|2024-05-13|8|Holiday Pay",
                             "7|Eve|2024-05-13|2|Pay HOOT2"}));
    EXPECT_EQ(names("Employee"), Rows{"Eve"});
    EXPECT_EQ(names("PayType"), (Rows{"Holiday Pay", "Pay A1STD", "Pay A2OT1", "Pay A2STD",
                                      "Pay A3STD", "Pay HOOT2"}));
    EXPECT_EQ(t.logText(), "");
}

TEST_F(ExtractionTest, EveryStagedDateComesOutAsItsDay) {
    addStandardSetup();
    chronel.execute("DROP TABLE REPORTDATA");
    chronel.execute(
        "CREATE TABLE REPORTDATA (\"FULL NAME\" TEXT, ADJUSTEDDATE DATE, PST INTEGER, "
        "POT1 INTEGER, POT2 INTEGER, NONWORKED TEXT, USEDIFF INTEGER, DEPT TEXT)");
    for (const char* date :
         {"0100-01-01", "2024-02-29 23:59:59", "2024-03-01T06:30:00", "9999-12-31 00:00:00"}) {
        chronel.add(day("Ann", date, 8));
    }
    run();
    db::Recordset rs;
    rs.open("select Date from Punch order by Sequence", *interfaceDb.cnInterface,
            db::CursorType::Static, db::LockType::ReadOnly);
    Rows days;
    for (; !rs.eof(); rs.moveNext()) {
        days.push_back(rs.field("Date").toDate().toStorageText().substr(0, 10));
    }
    EXPECT_EQ(days, (Rows{"0100-01-01", "2024-02-29", "2024-03-01", "9999-12-31"}));
}

TEST_F(ExtractionTest, LaterRunStartsFromScratchWithTheDefinitionAsItIsNow) {
    addStandardSetup();
    chronel.add(day("Ann", "2024-05-06", 8));
    chronel.add(day("Ann", "2024-05-07", 8, 0, 0, "VAC"));
    run();
    // An export has since posted one row and rejected the other.
    executeOnInterface("delete from Punch where Sequence=1");
    executeOnInterface("update Punch set Error='Invalid reference' where Sequence=2");
    chronel.execute("UPDATE EXPORTDFN SET RGSTD='Regular Pay'");
    chronel.execute("UPDATE TCRULES SET A1TITLE='Annual Leave'");
    chronel.add(day("Bob", "2024-05-06", 8, 0, 0, "ANN"));
    run();
    EXPECT_EQ(punch(), (Rows{"1|Ann|2024-05-06|8|Regular Pay", "2|Bob|2024-05-06|8|Pay A1STD"}));
    EXPECT_EQ(names("Employee"), (Rows{"Ann", "Bob"}));
    EXPECT_EQ(names("PayType"), (Rows{"Pay A1STD", "Regular Pay"}));
    EXPECT_EQ(t.logText(), "");
    EXPECT_EQ(state.rsExportDfn->state(), db::kStateOpen);
    EXPECT_EQ(state.rsRules->state(), db::kStateOpen);
    EXPECT_FALSE(state.rsReportData);
    EXPECT_FALSE(state.rsPunch);
}

TEST_F(ExtractionTest, FirstOfSeveralDefinitionsOfTheNameIsUsed) {
    auto other = standardExport();
    other.exportName = "Payroll Summary";
    other.payTypes["RGSTD"] = "Summary";
    auto first = standardExport();
    first.payTypes["RGSTD"] = "First";
    auto second = standardExport();
    second.payTypes["RGSTD"] = "Second";
    for (const auto& definition : {other, first, second}) {
        chronel.add(definition);
    }
    chronel.add(day("Ann", "2024-05-06", 8));
    run();
    EXPECT_EQ(punch(), Rows{"1|Ann|2024-05-06|8|First"});
}

// The statements each database receives, in order, leaving out the rows the engine inserts.

int traceStatement(unsigned, void* context, void* statement, void*) {
    const std::string sql = sqlite3_sql(static_cast<sqlite3_stmt*>(statement));
    if (sql.rfind("INSERT INTO \"", 0) != 0 && sql.rfind("PRAGMA", 0) != 0) {
        static_cast<Rows*>(context)->push_back(sql);
    }
    return 0;
}

TEST_F(ExtractionTest, StatementsAreSentAsWrittenAndInOrder) {
    addStandardSetup();
    chronel.add(day("Ann", "2024-05-06", 8));
    open();
    Rows onChronel;
    Rows onInterface;
    sqlite3_trace_v2(state.cnChronel->database()->handle(), SQLITE_TRACE_STMT, traceStatement,
                     &onChronel);
    sqlite3_trace_v2(interfaceDb.cnInterface->database()->handle(), SQLITE_TRACE_STMT,
                     traceStatement, &onInterface);
    run();
    EXPECT_EQ(onChronel,
              (Rows{"SELECT RGSTD, RGOT1, RGOT2, DFSTD, DFOT1, DFOT2, HOSTD, HOOT1, HOOT2, "
                    "A1STD, A1OT1, A1OT2, A2STD, A2OT1, A2OT2, A3STD, A3OT1, A3OT2 From "
                    "EXPORTDFN WHERE ExportName='RerovIrida Zoz Uvodi'",
                    "select A1TITLE, A2TITLE, A3TITLE FROM TCRULES",
                    "SELECT [FULL NAME] as FullName, ADJUSTEDDATE as AdjustedDate, PST as Reg, "
                    "POT1 as OT1, POT2 as OT2, NONWORKED as NonWkdHrs, USEDIFF as UseDiff FROM "
                    "REPORTDATA ORDER BY [FULL NAME], ADJUSTEDDATE"}));
    // The name map is read first; the stage is rebuilt under one commit, with the names a map
    // entry replaced.
    EXPECT_EQ(
        onInterface,
        (Rows{"select rowid as RowNo, Kind, ChronelName, QuickBooksName from "
              "NameMap order by Kind, ChronelName, rowid",
              "BEGIN", "delete from Punch where Posted=true",
              "delete from Punch where Posted=false", "delete from PunchSource",
              "select * from Punch", "delete from Employee", "select Name from Punch group by Name",
              "select * from Employee", "delete from PayType",
              "select PayType from Punch group by PayType", "select * from Paytype", "COMMIT"}));
}

}  // namespace
}  // namespace vantrell
