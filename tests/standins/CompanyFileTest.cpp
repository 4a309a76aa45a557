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

// The statements a message runs for every ticket are kept prepared between uses; a kept one
// must hold no lock, or a second user of the file (qbsim beside a session) would wait and fail.
TEST(CompanyFile, KeptStatementsLeaveTheFileFreeBetweenUses) {
    vantrell::testing::Sandbox sandbox;
    const auto path = sandbox.file("Company.qbw");
    CompanyFile::create(path, 1);
    CompanyFile session(path);
    session.addNames(ListKind::Employee, {"Worker One"}, 1);
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(session.findByName(ListKind::Employee, "worker one"));
        EXPECT_FALSE(session.findByName(ListKind::WageItem, "Hourly"));
        EXPECT_FALSE(session.findByListId(ListKind::Employee, "none"));
        session.savepoint();
        session.releaseSavepoint();

        CompanyFile other(path);
        other.addNames(ListKind::WageItem, {"Rate " + std::to_string(round)}, 1);
        EXPECT_TRUE(session.findByName(ListKind::WageItem, "Rate " + std::to_string(round)));
    }
}

// Files written before tickets were read in TxnDate order lack that index; they open as
// before and get it, without a change of format.
TEST(CompanyFile, FileWithoutTheTxnDateIndexOpensAndGetsIt) {
    vantrell::testing::Sandbox sandbox;
    const auto path = sandbox.file("Company.qbw");
    CompanyFile::create(path, 1);
    runSql(path, "drop index time_tracking_by_date");
    const auto indexed = [&] {
        sqlite3* db = nullptr;
        sqlite3_open(path.string().c_str(), &db);
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(
            db, "select count(*) from sqlite_master where name = 'time_tracking_by_date'", -1, &s,
            nullptr);
        const bool found = sqlite3_step(s) == SQLITE_ROW && sqlite3_column_int(s, 0) > 0;
        sqlite3_finalize(s);
        sqlite3_close(db);
        return found;
    };
    ASSERT_FALSE(indexed());
    {
        CompanyFile file(path);
        file.addNames(ListKind::Employee, {"Worker One"}, 1);
    }
    EXPECT_TRUE(indexed());
}

}  // namespace
}  // namespace vantrell::standins
