#include <gtest/gtest.h>

#include <algorithm>

#ifndef _WIN32
#include <unistd.h>
#endif

#include <filesystem>

#include "interfacedb/Catalog.h"
#include "interfacedb/Connection.h"
#include "interfacedb/ConnectionString.h"
#include "interfacedb/DbError.h"
#include "interfacedb/InterfaceDatabase.h"
#include "interfacedb/Recordset.h"
#include "interfacedb/modDataDef.h"
#include "interfacedb/stage/PostingJournal.h"
#include "interfacedb/stage/Stage.h"
#include "support/TestLog.h"

namespace vantrell {
namespace {

using testing::kStamp;

std::string path(const testing::TestLog& t) {
    return t.sandbox.file("Vantrell.mdb").string();
}

std::vector<std::string> columnsOf(const std::string& file, const std::string& table) {
    db::Connection cn;
    cn.open(db::connectionStringFor(file));
    db::Recordset rs;
    rs.open("select name || ' ' || type as c from pragma_table_info('" + table + "')", cn,
            db::CursorType::Static, db::LockType::ReadOnly);
    std::vector<std::string> columns;
    for (; !rs.eof(); rs.moveNext()) {
        columns.push_back(rs.field("c").toText());
    }
    return columns;
}

std::vector<std::string> tablesOf(const std::string& file) {
    db::Catalog catalog;
    catalog.attach(db::catalogConnectionStringFor(file));
    return catalog.tableNames();
}

void makeFileWith(const std::string& file, const std::string& table) {
    db::Catalog catalog;
    catalog.create(db::catalogConnectionStringFor(file));
    db::TableDefinition definition{table, {}};
    definition.appendColumn("Sequence", 3);
    catalog.appendTable(definition);
    db::Connection cn;
    cn.open(db::connectionStringFor(file));
    cn.execute("insert into " + table + " (Sequence) values (7)");
}

const std::vector<std::string> kStageTables = {"Employee",     "PayType",     "Punch",  "ExportRun",
                                               "ExportTicket", "PunchSource", "NameMap"};

TEST(ConfigureInterfaceDatabase, NewFolderGetsTheFileWithTheStageAndTheJournalEmpty) {
    testing::TestLog t;
    InterfaceDatabase state;
    ASSERT_TRUE(blnConfigureInterfaceDatabase(t.log, state));
    EXPECT_EQ(state.strInterfaceDB, path(t));
    EXPECT_EQ(tablesOf(path(t)), kStageTables);
    EXPECT_EQ(columnsOf(path(t), "Punch"),
              (std::vector<std::string>{"Sequence INTEGER", "Name VARCHAR(50)", "Date DATETIME",
                                        "Hours FLOAT4", "PayType VARCHAR(50)", "Posted BOOLEAN",
                                        "Error VARCHAR(255)"}));
    EXPECT_EQ(columnsOf(path(t), "Employee"), std::vector<std::string>{"Name VARCHAR(50)"});
    EXPECT_EQ(columnsOf(path(t), "PayType"), std::vector<std::string>{"Name VARCHAR(50)"});
    EXPECT_EQ(columnsOf(path(t), "ExportRun"),
              (std::vector<std::string>{"ID INTEGER", "Started DATETIME", "Finished DATETIME",
                                        "CompanyFile TEXT"}));
    EXPECT_EQ(columnsOf(path(t), "ExportTicket"),
              (std::vector<std::string>{"ExportID INTEGER", "Sequence INTEGER", "Name VARCHAR(50)",
                                        "Date DATETIME", "Hours FLOAT4", "PayType VARCHAR(50)",
                                        "TxnID VARCHAR(50)", "Undone BOOLEAN", "State VARCHAR(20)",
                                        "ChronelName VARCHAR(50)", "ChronelPayType VARCHAR(50)",
                                        "Message VARCHAR(255)"}));
    EXPECT_EQ(columnsOf(path(t), "PunchSource"),
              (std::vector<std::string>{"Sequence INTEGER", "ChronelName VARCHAR(50)",
                                        "ChronelPayType VARCHAR(50)"}));
    EXPECT_EQ(columnsOf(path(t), "NameMap"),
              (std::vector<std::string>{"Kind VARCHAR(20)", "ChronelName VARCHAR(50)",
                                        "QuickBooksName VARCHAR(50)"}));
    EXPECT_TRUE(t.prompter.shown.empty());
}

TEST(ConfigureInterfaceDatabase, SecondStartKeepsTablesAndRows) {
    testing::TestLog t;
    InterfaceDatabase state;
    ASSERT_TRUE(blnConfigureInterfaceDatabase(t.log, state));
    {
        db::Connection cn;
        cn.open(db::connectionStringFor(path(t)));
        cn.execute("insert into Employee (Name) values ('Left Over')");
    }
    ASSERT_TRUE(blnConfigureInterfaceDatabase(t.log, state));
    db::Connection cn;
    cn.open(db::connectionStringFor(path(t)));
    db::Recordset rs;
    rs.open("select * from Employee", cn, db::CursorType::Static, db::LockType::ReadOnly);
    ASSERT_FALSE(rs.eof());
    EXPECT_EQ(rs.field("Name").toText(), "Left Over");
}

TEST(ConfigureInterfaceDatabase, OnlyPunchPresentGetsTheOthersAndKeepsPunchAsItIs) {
    testing::TestLog t;
    makeFileWith(path(t), "Punch");
    InterfaceDatabase state;
    ASSERT_TRUE(blnConfigureInterfaceDatabase(t.log, state));
    EXPECT_EQ(tablesOf(path(t)),
              (std::vector<std::string>{"Punch", "Employee", "PayType", "ExportRun", "ExportTicket",
                                        "PunchSource", "NameMap"}));
    EXPECT_EQ(columnsOf(path(t), "Punch"), std::vector<std::string>{"Sequence INTEGER"});
}

// A stage table made by hand with fewer columns fails a read at its first row, naming the first
// column the read lacks, and an empty one reads as empty.
TEST(ConfigureInterfaceDatabase, AHandMadePunchTableFailsAtItsFirstRowNamingTheColumnItLacks) {
    testing::TestLog t;
    makeFileWith(path(t), "Punch");
    InterfaceDatabase state;
    ASSERT_TRUE(blnConfigureInterfaceDatabase(t.log, state));
    db::Connection cn;
    cn.open(db::connectionStringFor(path(t)));
    try {
        (void)stage::readStagedTickets(cn);
        ADD_FAILURE() << "a row without a Name column was read";
    } catch (const db::DbError& e) {
        EXPECT_STREQ(e.what(),
                     "Item cannot be found in the collection corresponding to the requested name "
                     "or ordinal: Name");
    }
    cn.execute("delete from Punch");
    EXPECT_TRUE(stage::readStagedTickets(cn).empty());
}

// A file of the first journal: its tables lack the columns added since, which the set-up adds
// without losing a row; the rows read as confirmed posts.
TEST(ConfigureInterfaceDatabase, AnOlderJournalGetsItsNewColumnsAndKeepsItsRows) {
    testing::TestLog t;
    InterfaceDatabase state;
    ASSERT_TRUE(blnConfigureInterfaceDatabase(t.log, state));
    {
        db::Connection cn;
        cn.open(db::connectionStringFor(path(t)));
        cn.execute("drop table ExportRun");
        cn.execute("drop table ExportTicket");
        cn.execute("create table ExportRun (ID INTEGER, Started DATETIME, Finished DATETIME)");
        cn.execute(
            "create table ExportTicket (ExportID INTEGER, Sequence INTEGER, Name VARCHAR(50),"
            " Date DATETIME, Hours FLOAT4, PayType VARCHAR(50), TxnID VARCHAR(50),"
            " Undone BOOLEAN)");
        cn.execute(
            "insert into ExportRun values (1, '2026-03-02 10:00:00', "
            "'2026-03-02 10:01:00')");
        cn.execute(
            "insert into ExportTicket values (1, 1, 'Ann', '2026-03-02 00:00:00', 8, "
            "'Hourly', 'T-1', 0)");
    }
    ASSERT_TRUE(blnConfigureInterfaceDatabase(t.log, state)) << t.logText();
    EXPECT_EQ(columnsOf(path(t), "ExportRun").back(), "CompanyFile TEXT");
    const std::vector<std::string> added = columnsOf(path(t), "ExportTicket");
    EXPECT_EQ(std::vector<std::string>(added.end() - 4, added.end()),
              (std::vector<std::string>{"State VARCHAR(20)", "ChronelName VARCHAR(50)",
                                        "ChronelPayType VARCHAR(50)", "Message VARCHAR(255)"}));
    db::Connection cn;
    cn.open(db::connectionStringFor(path(t)));
    const std::vector<stage::ExportSummary> exports = stage::listExports(cn);
    ASSERT_EQ(exports.size(), 1u);
    EXPECT_EQ(exports[0].posted, 1);
    EXPECT_EQ(exports[0].unconfirmed, 0);
    EXPECT_EQ(exports[0].companyFile, "");
    const std::vector<stage::JournalTicket> tickets = stage::exportTickets(cn, 1);
    ASSERT_EQ(tickets.size(), 1u);
    EXPECT_EQ(tickets[0].state, stage::TicketState::Confirmed);
    EXPECT_EQ(tickets[0].txnId, "T-1");
    EXPECT_EQ(tickets[0].message, "");
    EXPECT_EQ(tickets[0].damage, "");
}

// A journal or name map table that would lose what it is given is refused at start-up, the
// message naming the table and what is wrong; the table is left as it was.
TEST(ConfigureInterfaceDatabase, AJournalTableWithAColumnMissingOrOfAnotherTypeEndsTheStart) {
    const struct {
        const char* statement;
        const char* message;
    } cases[] = {
        {"create table ExportRun (ID INTEGER, Started DATETIME)",
         "The table ExportRun of Vantrell.mdb lacks its column Finished; the program cannot "
         "record exports in it."},
        {"create table ExportRun (ID TEXT, Started DATETIME, Finished DATETIME)",
         "The column ID of the table ExportRun of Vantrell.mdb is declared for text (\"TEXT\"), "
         "not for whole numbers; the program cannot record exports in it."},
        {"create table NameMap (Kind VARCHAR(20), ChronelName VARCHAR(50))",
         "The table NameMap of Vantrell.mdb lacks its column QuickBooksName; the program cannot "
         "keep its name map in it."},
        {"create table NameMap (Kind VARCHAR(20), ChronelName INTEGER, QuickBooksName TEXT)",
         "The column ChronelName of the table NameMap of Vantrell.mdb is declared for whole "
         "numbers (\"INTEGER\"), not for text; the program cannot keep its name map in it."},
        {"create table ExportTicket (ExportID INTEGER, Sequence INTEGER, Name VARCHAR(50),"
         " Date DATETIME, Hours FLOAT4, PayType VARCHAR(50), TxnID VARCHAR(50), Undone BOOLEAN,"
         " State VARCHAR(20), ChronelName VARCHAR(50), ChronelPayType VARCHAR(50),"
         " Message INTEGER)",
         "The column Message of the table ExportTicket of Vantrell.mdb is declared for whole "
         "numbers (\"INTEGER\"), not for text; the program cannot record exports in it."},
        {"create table exportrun (ID INTEGER, Started DATETIME, Finished DATETIME)",
         "The table \"exportrun\" of Vantrell.mdb is not the program's table ExportRun: its name "
         "differs in letter case. Rename it ExportRun if it is that table."},
    };
    for (const auto& c : cases) {
        testing::TestLog t;
        {
            db::Catalog catalog;
            catalog.create(db::catalogConnectionStringFor(path(t)));
        }
        {
            db::Connection cn;
            cn.open(db::connectionStringFor(path(t)));
            cn.execute(c.statement);
        }
        InterfaceDatabase state;
        EXPECT_FALSE(blnConfigureInterfaceDatabase(t.log, state)) << c.statement;
        ASSERT_EQ(t.prompter.shown.size(), 1u) << c.statement;
        EXPECT_NE(t.prompter.shown[0].text.find(c.message), std::string::npos)
            << t.prompter.shown[0].text;
        const bool nameMap = std::string(c.statement).find("NameMap") != std::string::npos;
        const bool ticketTable = std::string(c.statement).find("ExportTicket") != std::string::npos;
        if (nameMap) {
            EXPECT_EQ(columnsOf(path(t), "NameMap").size(), 2u + (c.message[4] == 'c'));
        } else if (ticketTable) {
            EXPECT_EQ(columnsOf(path(t), "ExportTicket").back(), "Message INTEGER");
        } else {
            EXPECT_EQ(columnsOf(path(t), "ExportTicket"), std::vector<std::string>{});
        }
    }
}

// How the engine finds the rows of `statement`, step by step.
std::string planOf(const std::string& file, const std::string& statement) {
    db::Connection cn;
    cn.open(db::connectionStringFor(file));
    db::Recordset rs;
    rs.open("explain query plan " + statement, cn, db::CursorType::Static, db::LockType::ReadOnly);
    std::string plan;
    for (; !rs.eof(); rs.moveNext()) {
        plan += rs.field("detail").toText() + "\n";
    }
    return plan;
}

// A statement that reaches one ticket or one name must not read the whole table: the export
// deletes one row per ticket, and would grow with the square of the tickets.
TEST(ConfigureInterfaceDatabase, OneRowStatementsSearchAnIndexInNewAndOlderFiles) {
    for (const bool olderFile : {false, true}) {
        testing::TestLog t;
        InterfaceDatabase state;
        ASSERT_TRUE(blnConfigureInterfaceDatabase(t.log, state));
        if (olderFile) {
            db::Connection cn;
            cn.open(db::connectionStringFor(path(t)));
            for (const char* index : {"Punch_Sequence", "Employee_Name", "PayType_Name"}) {
                cn.execute(std::string("drop index ") + index);
            }
            // A file of the time before the posting journal.
            cn.execute("drop table ExportTicket");
            cn.execute("drop table ExportRun");
            cn.close();
            ASSERT_TRUE(blnConfigureInterfaceDatabase(t.log, state));
        }
        for (const char* statement :
             {"delete from Punch where Sequence=7", "update Punch set Error='x' where Sequence=7",
              "delete from Employee where Name='A'", "delete from PayType where Name='A'",
              "select * from ExportTicket where ExportID = 1"}) {
            EXPECT_NE(planOf(path(t), statement).find("USING INDEX"), std::string::npos)
                << statement << (olderFile ? " (older file)" : "");
        }
        std::vector<std::string> tables = tablesOf(path(t));
        std::vector<std::string> expected = kStageTables;
        std::sort(tables.begin(), tables.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(tables, expected);
        EXPECT_TRUE(t.prompter.shown.empty());
    }
}

TEST(ConfigureInterfaceDatabase, APunchTableThatCannotBeIndexedStillServes) {
    testing::TestLog t;
    {
        db::Catalog catalog;
        catalog.create(db::catalogConnectionStringFor(path(t)));
        db::TableDefinition definition{"Punch", {}};
        definition.appendColumn("Ticket", 3);
        catalog.appendTable(definition);
    }
    InterfaceDatabase state;
    EXPECT_TRUE(blnConfigureInterfaceDatabase(t.log, state));
    EXPECT_EQ(columnsOf(path(t), "Punch"), std::vector<std::string>{"Ticket INTEGER"});
    EXPECT_TRUE(t.prompter.shown.empty());
}

TEST(ConfigureInterfaceDatabase, LowerCasePunchDoesNotCountAndStartUpFails) {
    testing::TestLog t;
    makeFileWith(path(t), "punch");
    InterfaceDatabase state;
    EXPECT_FALSE(blnConfigureInterfaceDatabase(t.log, state));
    ASSERT_EQ(t.prompter.shown.size(), 1u);
    EXPECT_EQ(t.prompter.shown[0].title, "ERROR");
    EXPECT_NE(t.logText().find(std::string(kStamp) + "blnConfigureInterfaceDatabase "),
              std::string::npos);
    // The tables appended before the failure stay.
    EXPECT_EQ(tablesOf(path(t)), (std::vector<std::string>{"punch", "Employee", "PayType"}));
}

TEST(ConfigureInterfaceDatabase, AViewOrTriggerEndsTheStartWithAnEntryNamingEach) {
    testing::TestLog t;
    InterfaceDatabase state;
    ASSERT_TRUE(blnConfigureInterfaceDatabase(t.log, state));
    {
        db::Connection cn;
        cn.open(db::connectionStringFor(path(t)));
        cn.execute("create view PunchTotals as select Name from Punch");
        cn.execute(
            "create trigger KeepPunch before delete on Punch begin select raise(ignore); end");
    }
    InterfaceDatabase again;
    EXPECT_FALSE(blnConfigureInterfaceDatabase(t.log, again));
    EXPECT_NE(t.logText().find("blnConfigureInterfaceDatabase '" + path(t) +
                               "' holds views or triggers (view \"PunchTotals\", trigger "
                               "\"KeepPunch\"); the program reads only plain tables."),
              std::string::npos)
        << t.logText();
}

TEST(ConfigureInterfaceDatabase, UnusableFilesAndFoldersFailWithALoggedError) {
    {
        testing::TestLog t;
        t.sandbox.write("Vantrell.mdb", "this is not a database, just some text of a clerk");
        InterfaceDatabase state;
        EXPECT_FALSE(blnConfigureInterfaceDatabase(t.log, state));
        EXPECT_EQ(t.sandbox.read("Vantrell.mdb"),
                  "this is not a database, just some text of a clerk");
    }
    {
        testing::TestLog t;
        std::filesystem::create_directory(t.sandbox.file("Vantrell.mdb"));
        InterfaceDatabase state;
        EXPECT_FALSE(blnConfigureInterfaceDatabase(t.log, state));
        EXPECT_EQ(t.prompter.shown.size(), 1u);
        EXPECT_NE(t.logText().find("Vantrell.mdb' is a folder, not a database file."),
                  std::string::npos)
            << t.logText();
    }
#ifndef _WIN32  // Windows refuses long paths in other ways, at other lengths
    {
        // A folder whose name the file system refuses for its length.
        testing::TestLog t;
        testing::FakePrompter prompter;
        testing::FakeClock clock;
        modErrorLog log(ProgramFolder(t.sandbox.file(std::string(300, 'f'))), prompter, clock);
        InterfaceDatabase state;
        EXPECT_FALSE(blnConfigureInterfaceDatabase(log, state));
        ASSERT_EQ(prompter.shown.size(), 1u);
        EXPECT_NE(prompter.shown[0].text.find("is too long for the file system."),
                  std::string::npos)
            << prompter.shown[0].text;
    }
#endif
    {
        // A program folder that cannot hold files (its path runs through a file).
        testing::TestLog t;
        t.sandbox.write("plain", "x");
        testing::FakePrompter prompter;
        testing::FakeClock clock;
        modErrorLog log(ProgramFolder(t.sandbox.file("plain")), prompter, clock);
        InterfaceDatabase state;
        EXPECT_FALSE(blnConfigureInterfaceDatabase(log, state));
        EXPECT_EQ(prompter.shown.size(), 1u);
    }
#ifndef _WIN32             // Windows' read-only attribute does not keep files out of a folder
    if (geteuid() != 0) {  // root writes anywhere
        testing::TestLog t;
        std::filesystem::permissions(t.sandbox.path(), std::filesystem::perms::owner_read |
                                                           std::filesystem::perms::owner_exec);
        InterfaceDatabase state;
        EXPECT_FALSE(blnConfigureInterfaceDatabase(t.log, state));
        EXPECT_EQ(t.prompter.shown.size(), 1u);
    }
#endif
}

// A first start killed at its first moment leaves no file, an empty one or the file being made
// under another name: none of them may block the next start.
TEST(ConfigureInterfaceDatabase, WhatAKilledFirstStartLeavesDoesNotBlockTheNext) {
    for (const bool leftEmptyFile : {true, false}) {
        testing::TestLog t;
        if (leftEmptyFile) {
            t.sandbox.write("Vantrell.mdb", "");
        }
        t.sandbox.write("Vantrell.mdb.new", "half a file");
        InterfaceDatabase state;
        ASSERT_TRUE(blnConfigureInterfaceDatabase(t.log, state)) << t.logText();
        EXPECT_EQ(tablesOf(path(t)), kStageTables);
        EXPECT_FALSE(std::filesystem::exists(t.sandbox.file("Vantrell.mdb.new")));
        EXPECT_EQ(t.logText(), "");
    }
}

}  // namespace
}  // namespace vantrell
