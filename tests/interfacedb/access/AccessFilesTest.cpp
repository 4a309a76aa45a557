#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <string>
#include <vector>

#include "AccessTestSupport.h"
#include "NumericLocale.h"
#include "interfacedb/Connection.h"
#include "interfacedb/DbError.h"
#include "interfacedb/Recordset.h"

// Every public Access file the project knows, read through the engine's own operations as the
// extraction reads the time-and-attendance file: Jet connection string, a static read-only set,
// aliases, ORDER BY, fields by alias, values of the Access types. Each file is read under the
// "C" numeric locale and under a German one, whose decimal comma must never reach a value.

namespace vantrell::db {
namespace {

using testing::date;
using testing::selectRows;
using testing::selectValue;
using Rows = std::vector<std::vector<Value>>;

class AccessFiles : public ::testing::TestWithParam<const char*> {
  protected:
    void SetUp() override {
        if (!locale_.active()) {
            GTEST_SKIP() << "numeric locale " << GetParam() << " is not available here";
        }
        if (std::string(GetParam()) != "C") {
            char text[16];
            std::snprintf(text, sizeof text, "%g", 0.15);
            ASSERT_EQ(std::string(text), "0,15") << "the locale should write a decimal comma";
        }
    }

    // Opens a file of the project's own copies.
    void openOwn(const std::string& name) { testing::openAccess(cn, testing::ownAccessFile(name)); }

    // Opens a shared reference file; false (and the test skips) when there is none.
    bool openShared(const std::string& name) {
        const auto path = testing::sharedAccessFile(name);
        if (!path) {
            return false;
        }
        testing::openAccess(cn, *path);
        return true;
    }

    long count(const std::string& sql) { return selectValue(cn, sql).toLong(); }

    testing::NumericLocale locale_{GetParam()};
    Connection cn;
};

TEST_P(AccessFiles, Jet3ValuesKeepTheirTypes) {
    openOwn("testV1997.mdb");
    const Rows rows = selectRows(cn,
                                 "SELECT A, B, C as ByteC, D, E, F as Dbl, G as Day, H as Money, "
                                 "I as Flag FROM Table1 ORDER BY A DESC",
                                 {"A", "b", "ByteC", "D", "E", "Dbl", "Day", "Money", "Flag"});
    const Rows expected = {
        {Value("abcdefg"), Value("hijklmnop"), Value(2), Value(222), Value(333333333),
         Value(444.555), date("1974-09-21"), Value(3.5), Value(true)},
        {Value("a"), Value("b"), Value(0), Value(0), Value(0), Value(0.0), date("1981-12-12"),
         Value(0.0), Value(false)},
    };
    EXPECT_EQ(rows, expected);

    Recordset wide;
    wide.open("select * from Table2", cn, CursorType::Static, LockType::ReadOnly);
    EXPECT_EQ(wide.columnCount(), 89u);
    EXPECT_TRUE(wide.bof() && wide.eof());
    EXPECT_EQ(count("select count(*) as v from Table3"), 0);
    EXPECT_EQ(count("select count(*) as v from table4"), 0);
}

TEST_P(AccessFiles, Jet4KeepsNullApartFromTheZeroLengthString) {
    openOwn("testAccess2_2000.mdb");
    const Rows rows =
        selectRows(cn,
                   "SELECT ID, ShortTextField as Txt, NumberField as N, "
                   "CurrencyField as Money, DateField as Day, YesNoField as Flag, "
                   "PlainTextMemo as Memo, RichTextMemo as Rich, "
                   "HyperLinkField as Link FROM Table1 ORDER BY ID",
                   {"ID", "Txt", "N", "Money", "Day", "Flag", "Memo", "Rich", "Link"});
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][1], Value("the quick"));
    EXPECT_EQ(rows[0][2], Value(3));
    EXPECT_EQ(rows[0][3], Value(6.23));
    EXPECT_EQ(rows[0][4], date("2015-06-24"));
    EXPECT_EQ(rows[0][5], Value(true));
    EXPECT_EQ(rows[0][6], Value("red and brown"));
    EXPECT_NE(rows[0][7].toText().find("<strong>fox</strong>"), std::string::npos);
    EXPECT_EQ(rows[0][8], Value("#http://tika.apach.org#"));

    const std::vector<Value> second = {Value(2), Value("普林斯顿大学"), Value(0),  Value(0.0),
                                       Value(),  Value(false),          Value(""), Value(),
                                       Value()};
    EXPECT_EQ(rows[1], second);
    EXPECT_TRUE(rows[1][4].isNull());
    EXPECT_FALSE(rows[1][6].isNull());

    // The embedded document comes whole; a missing one stays Null.
    EXPECT_EQ(count("select length(OLEObject) as v from Table1 where ID=1"), 121036);
    EXPECT_TRUE(selectValue(cn, "select OLEObject as v from Table1 where ID=2").isNull());
    EXPECT_EQ(selectValue(cn, "select LongDateTime as v from table2"), date("2015-06-29"));
}

TEST_P(AccessFiles, WideRowsReadEveryColumn) {
    openOwn("test2V2003.mdb");
    Recordset all;
    all.open("select * from MSP_PROJECTS", cn, CursorType::Static, LockType::ReadOnly);
    EXPECT_EQ(all.columnCount(), 74u);
    const Rows rows = selectRows(
        cn,
        "SELECT PROJ_ID as Id, PROJ_OPT_CURRENCY_DIGITS as Digits, PROJ_OPT_DEF_OVT_RATE as Rate, "
        "PROJ_OPT_CALC_ACT_COSTS as Calc, PROJ_OPT_MULT_CRITICAL_PATHS as Paths, "
        "PROJ_LAST_SAVED as Saved, PROJ_CREATION_DATE_EX as Created, PROJ_PROP_SUBJECT as Subject, "
        "PROJ_INFO_STATUS_DATE as Status FROM MSP_PROJECTS",
        {"Id", "Digits", "Rate", "Calc", "Paths", "Saved", "Created", "Subject", "Status"});
    ASSERT_EQ(rows.size(), 1u);
    const std::vector<Value::Kind> kinds = {
        Value::Kind::Integer, Value::Kind::Integer, Value::Kind::Double,
        Value::Kind::Boolean, Value::Kind::Boolean, Value::Kind::Date,
        Value::Kind::Date,    Value::Kind::Null,    Value::Kind::Null};
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        EXPECT_EQ(rows[0][i].kind(), kinds[i]) << i;
    }
    EXPECT_EQ(rows[0][3], Value(true));
    EXPECT_EQ(rows[0][4], Value(false));
    EXPECT_EQ(rows[0][5], date("2006-02-03 22:11"));
    EXPECT_EQ(rows[0][6], date("2006-02-03 22:11:05"));
}

TEST_P(AccessFiles, NamesWithSpacesAndQuotesAndPre1900Dates) {
    openOwn("meza_test.mdb");
    const Rows rows = selectRows(cn,
                                 "SELECT [Id No] as IdNo, Surname, [Date of order of Court] as "
                                 "Court, Freedom, Livery FROM merchant_taylors ORDER BY [Id No]",
                                 {"IdNo", "SURNAME", "Court", "Freedom", "Livery"});
    ASSERT_EQ(rows.size(), 20u);
    EXPECT_EQ(rows[0], (std::vector<Value>{Value(1), Value("Aaron"), date("1760-06-05"),
                                           date("1760-07-03"), Value()}));
    EXPECT_EQ(rows[1][3], date("1601-05-11"));
    EXPECT_EQ(rows[19],
              (std::vector<Value>{Value(25491), Value("'"), Value(), date("1750-11-07"), Value()}));

    // Null counts column by column, as the file holds them.
    const std::vector<std::pair<std::string, long>> nulls = {{"[How Admitted]", 1},
                                                             {"Forenames_Master_or_Father", 4},
                                                             {"Surname_Master_or_Father", 7},
                                                             {"Notes", 19},
                                                             {"[Date of order of Court]", 19},
                                                             {"Freedom", 1},
                                                             {"Livery", 18},
                                                             {"Remarks", 20},
                                                             {"[Source Ref]", 0}};
    for (const auto& [column, expected] : nulls) {
        EXPECT_EQ(count("select count(*) as v from merchant_taylors where " + column + " is null"),
                  expected)
            << column;
    }
    // A lone apostrophe is data, found by a quoted literal.
    EXPECT_EQ(count("select [Id No] as v from merchant_taylors where Surname = ''''"), 25491);
}

TEST_P(AccessFiles, Jet4CodePage936TextAndFlags) {
    openOwn("node-adodb.mdb");
    const Rows rows = selectRows(cn,
                                 "SELECT UserId, UserName as Name, UserSex as Sex, UserBirthday as "
                                 "Born, UserMarried as Married FROM Users ORDER BY UserId",
                                 {"UserId", "Name", "Sex", "Born", "Married"});
    const Rows expected = {
        {Value(1), Value("Nuintun"), Value("Male"), date("1989-01-25"), Value(true)},
        {Value(2), Value("Angela"), Value("Female"), date("1988-12-18"), Value(false)},
        {Value(3), Value("张三"), Value("男"), date("1986-12-18"), Value(true)},
    };
    EXPECT_EQ(rows, expected);
}

TEST_P(AccessFiles, DatabasePasswordOfJet4DoesNotHideTheData) {
    openOwn("V2000_with-password.mdb");
    const Rows expected = {
        {Value(1), Value("One")}, {Value(2), Value("Two")}, {Value(3), Value("Three")}};
    EXPECT_EQ(selectRows(cn, "select ID, Data from Table1 order by ID", {"ID", "Data"}), expected);
}

TEST_P(AccessFiles, AceDecimalsSinglesTimesAndOddTableNames) {
    openOwn("parameters.accdb");
    const Rows tabella =
        selectRows(cn,
                   "SELECT ID, text34, meemo, nI, n7dec, textno, "
                   "nDecPrec18_scala12 as Dec18, dop, sing FROM TABELLA",
                   {"ID", "text34", "meemo", "nI", "n7dec", "textno", "Dec18", "dop", "sing"});
    const Rows expected = {{Value(1), Value(), Value(), Value(), Value(10.333), Value(), Value(0.0),
                            Value(), Value()}};
    EXPECT_EQ(tabella, expected);

    EXPECT_EQ(selectRows(cn, "select ID, [date 1] as D from [TABLE 1] order by ID", {"ID", "D"}),
              (Rows{{Value(1), Value()}, {Value(2), Value()}}));
    EXPECT_EQ(selectValue(cn, "select TimeValue as v from TimeValues"),
              date("1899-12-30 12:00:01"));
    EXPECT_EQ(selectRows(cn, R"(select Id0, [col 2] as c from [ab"""xxx] order by Id0 desc)",
                         {"Id0", "c"}),
              (Rows{{Value(3), Value("WWW")}, {Value(2), Value("WW")}, {Value(1), Value("W")}}));
    EXPECT_EQ(selectRows(cn, "select LastName, MembershipLevel from Membership",
                         {"LastName", "MembershipLevel"}),
              (Rows{{Value("Amadei"), Value("Silver")}}));
}

TEST_P(AccessFiles, DatesBefore1900AndUpToTheYear9999) {
    if (!openShared("DateTestDatabase.mdb")) {
        GTEST_SKIP() << "the shared reference files are not here";
    }
    const Rows rows = selectRows(cn,
                                 "SELECT IDCol, DateTimeCol as DT, DateCol as D, TimeCol as T, "
                                 "ShortTextCol as Short FROM DateTest ORDER BY IDCol",
                                 {"IDCol", "DT", "D", "T", "Short"});
    const Value dec2021 = date("2021-12-02");
    const Rows expected = {
        {Value(1), dec2021, dec2021, dec2021, Value("Hello")},
        {Value(2), date("9999-01-01"), date("9999-01-01"), date("9999-01-01"), Value("Year 1999")},
        {Value(3), date("1898-01-01"), date("1899-01-01"), date("1900-01-01"),
         Value("Pre-1900 years")},
        {Value(4), date("0632-01-01"), date("0633-01-01"), date("0634-01-01"),
         Value("Pre-1000 years")},
        {Value(5), dec2021, dec2021, dec2021, Value(R"(Escaped new line \r\n in field)")},
        {Value(6), dec2021, dec2021, dec2021, Value("No new line")},
    };
    EXPECT_EQ(rows, expected);
    EXPECT_NE(
        selectValue(cn, "select LongTextCol as v from DateTest where IDCol=6").toText().find('\n'),
        std::string::npos);
}

TEST_P(AccessFiles, NorthwindJet3) {
    if (!openShared("nwind.mdb")) {
        GTEST_SKIP() << "the shared reference files are not here";
    }
    const std::vector<std::pair<std::string, long>> tables = {
        {"[Order Details]", 2155}, {"Orders", 830},   {"Products", 77}, {"Shippers", 3},
        {"Categories", 8},         {"Customers", 91}, {"Employees", 9}, {"Suppliers", 29},
        {"Umsätze", 830},          {"UMSÄTZE", 830}};
    for (const auto& [table, rows] : tables) {
        EXPECT_EQ(count("select count(*) as v from " + table), rows) << table;
    }

    const Value discount = selectValue(
        cn, "select Discount as v from [order details] where OrderID=10250 and ProductID=51");
    EXPECT_EQ(discount.kind(), Value::Kind::Single);
    EXPECT_EQ(discount.toSingle(), 0.15f);
    EXPECT_EQ(selectValue(cn,
                          "select UnitPrice as v from [Order Details] where OrderID=10250 "
                          "and ProductID=51"),
              Value(42.4));
    const std::vector<std::pair<std::string, long>> counts = {
        {"Products where Discontinued = true", 8},
        {"Orders where ShippedDate is null", 21},
        {"Orders where ShipRegion is null", 507},
        {"Customers where Region is null", 60},
        {"Customers where Fax is null", 22},
        {"Employees where ReportsTo is null", 1},
        {"Customers where City = 'México D.F.'", 5},
        {"Customers where CompanyName = 'Antonio Moreno Taquería'", 1},
    };
    for (const auto& [where, expected] : counts) {
        EXPECT_EQ(count("select count(*) as v from " + where), expected) << where;
    }

    const Rows orders =
        selectRows(cn, "select OrderDate as D from Orders order by OrderDate", {"D"});
    ASSERT_EQ(orders.size(), 830u);
    EXPECT_EQ(orders.front()[0], date("1994-08-04"));
    EXPECT_EQ(orders.back()[0], date("1996-06-05"));

    const Rows employees = selectRows(cn,
                                      "SELECT LastName as Last, FirstName, Notes FROM Employees "
                                      "ORDER BY LastName, FirstName",
                                      {"Last", "FirstName", "Notes"});
    ASSERT_EQ(employees.size(), 9u);
    EXPECT_EQ(employees[0][0], Value("Buchanan"));
    EXPECT_EQ(employees[1][0], Value("Callahan"));
    EXPECT_EQ(employees[2][0], Value("Davolio"));
    EXPECT_EQ(employees[0][2].toText().size(), 448u);  // the memo whole
}

INSTANTIATE_TEST_SUITE_P(Locales, AccessFiles, ::testing::Values("C", "de_DE.UTF-8"),
                         [](const auto& param) {
                             return std::string(param.param) == "C" ? "CLocale" : "GermanLocale";
                         });

}  // namespace
}  // namespace vantrell::db
