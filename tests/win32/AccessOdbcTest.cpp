#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "diag/FileSystem.h"
#include "diag/Utf16.h"
#include "interfacedb/Connection.h"
#include "interfacedb/ConnectionString.h"
#include "interfacedb/DbError.h"
#include "interfacedb/Recordset.h"
#include "interfacedb/odbc/OdbcAccessFile.h"

namespace vantrell::db {
namespace {

std::string ownFile(const std::string& name) {
    return pathToUtf8(std::filesystem::absolute(VANTRELL_ACCESS_DATA) / name);
}

std::optional<std::string> sharedFile(const std::string& name) {
    const auto path = std::filesystem::absolute(VANTRELL_SHARED_ACCESS_DATA) / name;
    return std::filesystem::exists(path) ? std::optional<std::string>(pathToUtf8(path))
                                         : std::nullopt;
}

Value date(const std::string& text) {
    return Value(*DateTime::parse(text));
}

// Access files read through the ODBC driver that is there: the Access driver on Windows, the
// mdbtools driver that Wine reaches through the host's unixODBC.
struct AccessOverOdbc : ::testing::Test {
    Connection cn;

    // Opens `path` as the program opens the time-and-attendance file. False, with the test
    // marked skipped, when no Access driver is installed here: the test must then return.
    bool open(const std::string& path) {
        try {
            cn.open(connectionStringFor(path));
        } catch (const DbError& e) {
            if (std::string(e.what()).find("no ODBC driver for Access files") !=
                std::string::npos) {
                [&] { GTEST_SKIP() << e.what(); }();
                return false;
            }
            throw;
        }
        return true;
    }

    std::vector<std::vector<Value>> rows(const std::string& sql,
                                         const std::vector<std::string>& fields) {
        Recordset rs;
        rs.open(sql, cn, CursorType::Static, LockType::ReadOnly);
        std::vector<std::vector<Value>> result;
        for (; !rs.eof(); rs.moveNext()) {
            std::vector<Value> row;
            for (const auto& field : fields) {
                row.push_back(rs.field(field));
            }
            result.push_back(row);
        }
        return result;
    }

    Value value(const std::string& sql) { return rows(sql, {"v"}).at(0).at(0); }

    std::string failureOf(const std::string& sql) {
        try {
            rows(sql, {});
        } catch (const DbError& e) {
            return e.what();
        }
        return "<no failure>";
    }
};

TEST_F(AccessOverOdbc, Jet4ValuesKeepTheirTypesAndNullStaysApartFromEmptyText) {
    if (!open(ownFile("testAccess2_2000.mdb"))) {
        return;
    }
    const auto read = rows(
        "SELECT ID, ShortTextField as Txt, NumberField as N, CurrencyField as Money, "
        "DateField as Day, YesNoField as Flag, PlainTextMemo as Memo FROM Table1 ORDER BY ID",
        {"ID", "Txt", "N", "Money", "Day", "Flag", "Memo"});
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0],
              (std::vector<Value>{Value(1), Value("the quick"), Value(3), Value(6.23),
                                  date("2015-06-24"), Value(true), Value("red and brown")}));
    EXPECT_EQ(read[1][1], Value("普林斯顿大学"));
    EXPECT_TRUE(read[1][4].isNull());
    EXPECT_EQ(read[1][5], Value(false));
    EXPECT_EQ(read[1][6], Value(""));
    EXPECT_EQ(read[0][4].kind(), Value::Kind::Date);
}

TEST_F(AccessOverOdbc, TablesAreFoundWithoutRegardToCaseAndNothingIsWritten) {
    if (!open(ownFile("testAccess2_2000.mdb"))) {
        return;
    }
    EXPECT_EQ(value("select count(*) as v from TABLE1"), Value(2));
    EXPECT_EQ(value("select count(*) as v from table1"), Value(2));
    EXPECT_EQ(failureOf("select * from NoSuchTable"),
              "Could not find table 'NoSuchTable' in the Access database '" +
                  ownFile("testAccess2_2000.mdb") + "'.");
    try {
        cn.execute("delete from Table1");
        FAIL() << "a statement changed an Access file";
    } catch (const DbError& e) {
        EXPECT_NE(std::string(e.what()).find("is only read"), std::string::npos) << e.what();
    }
    EXPECT_EQ(value("select count(*) as v from Table1"), Value(2));
}

TEST_F(AccessOverOdbc, NorthwindCountsSinglesAndDates) {
    const auto nwind = sharedFile("nwind.mdb");
    if (!nwind) {
        GTEST_SKIP() << "the shared reference files are not here";
    }
    if (!open(*nwind)) {
        return;
    }
    for (const auto& [table, count] : std::vector<std::pair<std::string, int>>{
             {"[Order Details]", 2155}, {"Orders", 830}, {"Customers", 91}, {"Employees", 9}}) {
        EXPECT_EQ(value("select count(*) as v from " + table), Value(count)) << table;
    }
    const Value discount =
        value("select Discount as v from [order details] where OrderID=10250 and ProductID=51");
    EXPECT_EQ(discount.kind(), Value::Kind::Single);
    EXPECT_EQ(discount.toSingle(), 0.15f);
    const auto orders = rows("select OrderDate as D from Orders order by OrderDate", {"D"});
    ASSERT_EQ(orders.size(), 830u);
    EXPECT_EQ(orders.front()[0], date("1994-08-04"));
    EXPECT_EQ(orders.back()[0], date("1996-06-05"));
    EXPECT_EQ(value("select count(*) as v from Customers where Region is null"), Value(60));
}

TEST(AccessOdbcDrivers, NoneInstalledIsAClearErrorNamingEachTried) {
    const std::string path = "C:\\data\\ChronelV7.mde";
    try {
        odbc::AccessFile file(path, {L"Vantrell Missing Driver A", L"Vantrell Missing Driver B"});
        FAIL() << "opened with drivers that are not installed";
    } catch (const DbError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Could not open the Access database 'C:\\data\\ChronelV7.mde': no ODBC driver "
                  "for Access files is installed for " +
                      std::string(sizeof(void*) == 8 ? "64" : "32") +
                      "-bit programs (tried \"Vantrell Missing Driver A\", \"Vantrell Missing "
                      "Driver B\"). The Microsoft Access Database Engine of the same bitness "
                      "provides one.");
    }
}

TEST(AccessOdbcDrivers, ConnectionStringBracesOnlyAPathThatNeedsIt) {
    EXPECT_EQ(odbc::accessConnectionString(L"Microsoft Access Driver (*.mdb)", L"C:\\a\\b.mde"),
              L"Driver={Microsoft Access Driver (*.mdb)};DBQ=C:\\a\\b.mde;ReadOnly=1;");
    EXPECT_EQ(odbc::accessConnectionString(L"X", L"C:\\a;b}\\c.mde"),
              L"Driver={X};DBQ={C:\\a;b}}\\c.mde};ReadOnly=1;");
}

}  // namespace
}  // namespace vantrell::db
