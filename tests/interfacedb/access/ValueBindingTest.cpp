#include <gtest/gtest.h>

#include <sqlite3.h>

#include <string>
#include <utility>

#include "interfacedb/access/ValueBinding.h"

namespace vantrell::db::access {
namespace {

// One statement that hands back the value bound to its parameter, on a database in memory.
class BoundValue : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(sqlite3_open(":memory:", &db_), SQLITE_OK);
        ASSERT_EQ(sqlite3_prepare_v2(db_, "SELECT ?", -1, &select_, nullptr), SQLITE_OK);
    }
    void TearDown() override {
        sqlite3_finalize(select_);
        sqlite3_close(db_);
    }

    // The bound value's storage class and its text form.
    std::pair<int, std::string> read() {
        EXPECT_EQ(sqlite3_step(select_), SQLITE_ROW);
        const int type = sqlite3_column_type(select_, 0);
        const auto* text = sqlite3_column_text(select_, 0);
        std::string value = text ? reinterpret_cast<const char*>(text) : "<null>";
        sqlite3_reset(select_);
        return {type, value};
    }

    sqlite3* db_ = nullptr;
    sqlite3_stmt* select_ = nullptr;
};

TEST_F(BoundValue, EachKindKeepsTheEngineTypeItIsStoredWith) {
    bindBoolean(select_, 1, true);
    EXPECT_EQ(read(), std::make_pair(SQLITE_INTEGER, std::string("1")));
    bindInteger(select_, 1, -32768);
    EXPECT_EQ(read(), std::make_pair(SQLITE_INTEGER, std::string("-32768")));
    bindSingle(select_, 1, 0.5f);
    EXPECT_EQ(read(), std::make_pair(SQLITE_FLOAT, std::string("0.5")));
    bindDouble(select_, 1, 2.25);
    EXPECT_EQ(read(), std::make_pair(SQLITE_FLOAT, std::string("2.25")));
    const std::string text = "caf\xC3\xA9";  // "café"
    bindText(select_, 1, text);
    EXPECT_EQ(read(), std::make_pair(SQLITE_TEXT, text));
    const std::string bytes("a\0b", 3);
    bindBytes(select_, 1, bytes);
    EXPECT_EQ(sqlite3_step(select_), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_type(select_, 0), SQLITE_BLOB);
    EXPECT_EQ(sqlite3_column_bytes(select_, 0), 3);
    sqlite3_reset(select_);
    bindNull(select_, 1);
    EXPECT_EQ(read(), std::make_pair(SQLITE_NULL, std::string("<null>")));
}

TEST_F(BoundValue, AnAmountThatIsNoNumberOrTooLargeBindsNothing) {
    EXPECT_TRUE(bindDecimal(select_, 1, "-12.3456"));
    EXPECT_EQ(read(), std::make_pair(SQLITE_FLOAT, std::string("-12.3456")));
    bindNull(select_, 1);
    for (const std::string& refused :
         {std::string(), std::string("12,5"), std::string("1e3"), std::string(400, '9')}) {
        EXPECT_FALSE(bindDecimal(select_, 1, refused)) << refused;
        EXPECT_EQ(read().first, SQLITE_NULL) << refused;
    }
}

}  // namespace
}  // namespace vantrell::db::access
