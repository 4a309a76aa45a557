#include <gtest/gtest.h>

#include <string>

#include "interfacedb/ConnectionString.h"
#include "interfacedb/DateTime.h"
#include "interfacedb/DbError.h"
#include "interfacedb/SqlText.h"
#include "interfacedb/Value.h"

namespace vantrell::db {
namespace {

TEST(DateTimeText, ReadsDatesWithAndWithoutTimeAndRefusesTheRest) {
    struct Row {
        const char* text;
        const char* expected;  // nullptr: not a date
    };
    const Row rows[] = {
        {"2026-03-07", "2026-03-07"},
        {"2026-03-07 00:00:00", "2026-03-07"},
        {"2026-03-07 14:05:09", "2026-03-07 14:05:09"},
        {"2026-03-07T14:05", "2026-03-07 14:05:00"},
        {"2024-02-29", "2024-02-29"},
        {"0100-01-01", "0100-01-01"},
        {"9999-12-31 23:59:59", "9999-12-31 23:59:59"},
        {"1899-12-30", "1899-12-30"},
        {"2023-02-29", nullptr},
        {"2026-13-01", nullptr},
        {"2026-3-7", nullptr},
        {"2026-03-07 24:00:00", nullptr},
        {"07/03/2026", nullptr},
        {"", nullptr},
        {"2026-03-07 14:05:09 extra", nullptr},
    };
    for (const auto& row : rows) {
        const auto date = DateTime::parse(row.text);
        if (row.expected == nullptr) {
            EXPECT_FALSE(date) << row.text;
        } else {
            ASSERT_TRUE(date) << row.text;
            EXPECT_EQ(date->toText(), row.expected);
        }
    }
    EXPECT_LT(*DateTime::parse("1899-12-31"), *DateTime::parse("1900-01-01"));
}

// Each form written with leading zeros at both ends of the range, every time of day included.
TEST(DateTimeText, EachFormPadsEveryPart) {
    const auto early = DateTime::fromParts(100, 1, 2, 3, 4, 5);
    ASSERT_TRUE(early);
    EXPECT_EQ(early->dateText(), "0100-01-02");
    EXPECT_EQ(early->toStorageText(), "0100-01-02 03:04:05");
    EXPECT_EQ(early->toText(), "0100-01-02 03:04:05");
    const auto late = DateTime::fromParts(9999, 12, 31, 23, 59, 59);
    ASSERT_TRUE(late);
    EXPECT_EQ(late->dateText(), "9999-12-31");
    EXPECT_EQ(late->toStorageText(), "9999-12-31 23:59:59");
    const auto midnight = DateTime::fromParts(1899, 12, 30);
    ASSERT_TRUE(midnight);
    EXPECT_EQ(midnight->dateText(), "1899-12-30");
    EXPECT_EQ(midnight->toStorageText(), "1899-12-30 00:00:00");
    EXPECT_EQ(midnight->toText(), "1899-12-30");
    for (int second = 0; second < 86400; second += 7) {
        const auto moment =
            DateTime::fromParts(2024, 2, 29, second / 3600, second / 60 % 60, second % 60);
        ASSERT_TRUE(moment);
        EXPECT_EQ(DateTime::parse(moment->toStorageText()), moment) << second;
        EXPECT_EQ(moment->toStorageText().substr(0, 10), "2024-02-29");
    }
}

TEST(ValueConversion, NullConvertsToNothing) {
    const Value null;
    EXPECT_THROW((void)null.toText(), DbError);
    EXPECT_THROW((void)null.toSingle(), DbError);
    EXPECT_THROW((void)null.toBoolean(), DbError);
    try {
        (void)null.toSingle();
    } catch (const DbError& e) {
        EXPECT_STREQ(e.what(), "Invalid use of Null");
    }
}

TEST(ValueConversion, NumbersFromTextAreLocaleFreeAndStrict) {
    EXPECT_FLOAT_EQ(Value("7.5").toSingle(), 7.5f);
    EXPECT_FLOAT_EQ(Value(" -1.25 ").toSingle(), -1.25f);
    EXPECT_FLOAT_EQ(Value("+8").toSingle(), 8.0f);
    for (const char* bad : {"", "abc", "7,5", "8 hours", "1e999", "nan"}) {
        EXPECT_THROW((void)Value(bad).toSingle(), DbError) << bad;
    }
    EXPECT_THROW((void)Value(1e300).toSingle(), DbError);
    EXPECT_EQ(Value(2147483647.4).toLong(), 2147483647);
    EXPECT_THROW((void)Value(2147483648.0).toLong(), DbError);
    EXPECT_EQ(Value(2.5).toLong(), 2);  // half to even
}

TEST(ValueConversion, TextFormsOfEachKind) {
    EXPECT_EQ(Value(8.1f).toText(), "8.1");
    EXPECT_EQ(Value(7.0).toText(), "7");
    EXPECT_EQ(Value(std::int64_t{-12}).toText(), "-12");
    EXPECT_EQ(Value(true).toText(), "True");
    EXPECT_EQ(Value(*DateTime::parse("2026-01-05")).toText(), "2026-01-05");
    EXPECT_TRUE(Value(std::int64_t{-1}).toBoolean());
    EXPECT_FALSE(Value(std::int64_t{0}).toBoolean());
    EXPECT_TRUE(Value("True").toBoolean());
}

TEST(ConnectionString, BuildsTheJetTextsAndReadsTheDataSourceBack) {
    const std::string path = "/home/clerk/pay;roll data/Vantrell.mdb";
    EXPECT_EQ(connectionStringFor("/x/Vantrell.mdb"),
              "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/x/Vantrell.mdb;Persist Security "
              "Info=False");
    EXPECT_EQ(catalogConnectionStringFor("/x/Vantrell.mdb"),
              "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/x/Vantrell.mdb");
    EXPECT_EQ(dataSourceOf(connectionStringFor(path)), path);
    EXPECT_EQ(dataSourceOf(catalogConnectionStringFor(path)), path);
    EXPECT_EQ(dataSourceOf("data source=C:\\Chronel\\ChronelV7.mde;User ID=Admin"),
              "C:\\Chronel\\ChronelV7.mde");
    EXPECT_THROW(dataSourceOf("Provider=Microsoft.Jet.OLEDB.4.0"), DbError);
}

TEST(SqlText, QuotesAreDoubledAndOnlyPlainNumbersPass) {
    EXPECT_EQ(escapeSqlText("O'Neill"), "O''Neill");
    EXPECT_EQ(escapeSqlText("x' or '1'='1"), "x'' or ''1''=''1");
    EXPECT_EQ(plainDecimal("42"), "42");
    EXPECT_EQ(plainDecimal("-7"), "-7");
    for (const char* bad : {"", "-", "1 or 1=1", "1;", " 1", "0x10", "2147483648", "1.0"}) {
        EXPECT_FALSE(plainDecimal(bad)) << bad;
    }
}

}  // namespace
}  // namespace vantrell::db
