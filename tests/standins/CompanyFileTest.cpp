#include <gtest/gtest.h>
#include <sqlite3.h>

#include "standins/CompanyFile.h"
#include "support/Sandbox.h"

namespace vantrell::standins {
namespace {

using Reason = CompanyFileError::Reason;

Reason openingFails(const std::filesystem::path& path) {
    try {
        CompanyFile file(path);
    } catch (const CompanyFileError& e) {
        return e.reason();
    }
    ADD_FAILURE() << path << " opened";
    return Reason::Storage;
}

void runSql(const std::filesystem::path& path, const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.string().c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

TEST(CompanyFile, OnlyAFileWithTheMarkOpens) {
    vantrell::testing::Sandbox sandbox;
    EXPECT_EQ(openingFails(sandbox.file("Missing.qbw")), Reason::Missing);
    EXPECT_EQ(openingFails(sandbox.path()), Reason::Missing);
    sandbox.write("Text.qbw", "QuickBooks\n");
    EXPECT_EQ(openingFails(sandbox.file("Text.qbw")), Reason::NotACompanyFile);
    sandbox.write("Empty.qbw", "");
    EXPECT_EQ(openingFails(sandbox.file("Empty.qbw")), Reason::NotACompanyFile);
    runSql(sandbox.file("Vantrell.mdb"), "create table Punch (Sequence integer)");
    EXPECT_EQ(openingFails(sandbox.file("Vantrell.mdb")), Reason::NotACompanyFile);

    const auto later = sandbox.file("Later.qbw");
    CompanyFile::create(later, 1);
    runSql(later, "pragma user_version = 2");
    EXPECT_EQ(openingFails(later), Reason::NewerFormat);
    // Opening refused files leaves them as they were.
    EXPECT_EQ(sandbox.read("Text.qbw"), "QuickBooks\n");
}

}  // namespace
}  // namespace vantrell::standins
