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

TEST(CompanyFile, CreateRefusesAnExistingPath) {
    vantrell::testing::Sandbox sandbox;
    sandbox.write("Company.qbw", "keep me");
    try {
        CompanyFile::create(sandbox.file("Company.qbw"), 1);
        FAIL() << "created over an existing file";
    } catch (const CompanyFileError& e) {
        EXPECT_EQ(e.reason(), Reason::AlreadyExists);
    }
    EXPECT_EQ(sandbox.read("Company.qbw"), "keep me");
    EXPECT_THROW(CompanyFile::create(sandbox.file("no/such/folder/Company.qbw"), 1),
                 CompanyFileError);
}

TEST(CompanyFile, IdentifiersAreUniqueAndTicketsKeepTheirOrder) {
    vantrell::testing::Sandbox sandbox;
    const auto path = sandbox.file("Company.qbw");
    CompanyFile::create(path, 100);
    CompanyFile file(path);
    file.addNames(ListKind::Employee, {"b", "A"}, 200);
    file.addNames(ListKind::WageItem, {"Hourly"}, 300);
    const auto employees = file.entries(ListKind::Employee);
    ASSERT_EQ(employees.size(), 2u);
    EXPECT_EQ(employees[0].name, "A");
    EXPECT_EQ(employees[0].listId, "80000003-200");
    EXPECT_EQ(employees[1].listId, "80000002-200");
    EXPECT_EQ(file.findByListId(ListKind::WageItem, "80000004-300")->name, "Hourly");
    EXPECT_FALSE(file.findByListId(ListKind::Employee, "80000004-300"));
    EXPECT_EQ(file.expenseAccountListId(), "80000001-100");

    NewTicket ticket;
    ticket.txnDate = "2024-03-04";
    ticket.employee = employees[1];
    ticket.durationSeconds = 60;
    for (int i = 0; i < 17; ++i) {
        file.post(ticket, 400 + i);
    }
    const auto tickets = file.postedTickets();
    ASSERT_EQ(tickets.size(), 17u);
    EXPECT_EQ(tickets[16].txnId, "11-416");
    EXPECT_EQ(tickets[16].ticket.employee.name, "b");
    EXPECT_FALSE(tickets[16].ticket.wageItem);
    EXPECT_EQ(tickets[16].ticket.billableStatus, "NotBillable");
}

}  // namespace
}  // namespace vantrell::standins
