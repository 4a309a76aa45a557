#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "AccessTestSupport.h"
#include "interfacedb/Connection.h"
#include "interfacedb/DbError.h"
#include "interfacedb/ObjectState.h"
#include "interfacedb/Recordset.h"
#include "interfacedb/modDataDef.h"
#include "support/Sandbox.h"
#include "support/TestLog.h"

// What goes wrong with an Access file is a DbError that names the file and says what is wrong,
// never an empty or partial result, never libmdb's own chatter on standard error, and never a
// change to the file.

namespace vantrell::db {
namespace {

using testing::selectRows;
using testing::selectValue;
using testing::stderrDuring;

std::string bytesOf(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    std::string bytes;
    char buffer[65536];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
        bytes.append(buffer, n);
    }
    std::fclose(file);
    return bytes;
}

// The description of the DbError that `body` throws, or "" when it throws none.
std::string errorOf(const std::function<void()>& body) {
    try {
        body();
    } catch (const DbError& e) {
        return e.what();
    }
    return "";
}

struct AccessFailures : ::testing::Test {
    testing::Sandbox sandbox;

    // A copy of one of the project's files, or the first `size` bytes of it, in the sandbox.
    std::string copyOf(const std::string& name, std::size_t size = std::string::npos) {
        const std::string bytes = bytesOf(testing::ownAccessFile(name));
        sandbox.write(name, bytes.substr(0, size));
        return sandbox.file(name).string();
    }
};

TEST_F(AccessFailures, FilesThatCannotBeOpenedNameTheFileAndSayWhy) {
    sandbox.write("empty.mdb", "");
    sandbox.write("notes.mdb", std::string(8192, 'x'));
    struct Case {
        std::string path;
        std::string why;
    };
    const std::vector<Case> cases = {
        {sandbox.file("missing.mdb").string(), "Could not find file"},
        {sandbox.file("empty.mdb").string(), "is empty"},
        {sandbox.file("notes.mdb").string(), "Unrecognized database format"},
        {copyOf("testV1997.mdb", 1000), "truncated or damaged"},
        {copyOf("testAccess2_2000.mdb", 4096), "truncated or damaged"},
        {copyOf("meza_test.mdb", 20 * 4096 + 100), "truncated or damaged"},
        {copyOf("V2010_with-password.accdb"), "encrypted with a password"},
    };
    for (const auto& c : cases) {
        Connection cn;
        std::string error;
        const std::string chatter =
            stderrDuring([&] { error = errorOf([&] { testing::openAccess(cn, c.path); }); });
        EXPECT_NE(error.find(c.path), std::string::npos) << error;
        EXPECT_NE(error.find(c.why), std::string::npos) << error;
        EXPECT_EQ(chatter, "") << c.path;
        EXPECT_EQ(cn.state(), kStateClosed);
    }
}

// Cut at any page boundary, a file either still yields the whole table (the pages lost held
// none of it) or fails with an error naming it: never fewer rows, never other values.
TEST_F(AccessFailures, TruncatedFilesNeverGiveAPartialTable) {
    struct Case {
        std::string file;
        std::size_t pageSize;
        std::string sql;
        std::vector<std::string> fields;
    };
    const std::vector<Case> cases = {
        {"testV1997.mdb", 2048, "select A, B, G as Day from Table1 order by A", {"A", "B", "Day"}},
        {"testAccess2_2000.mdb",
         4096,
         "select ID, ShortTextField as T, RichTextMemo as M from Table1 order by ID",
         {"ID", "T", "M"}},
        {"meza_test.mdb",
         4096,
         "select [Id No] as Id, Surname from merchant_taylors order by 1",
         {"Id", "Surname"}},
    };
    for (const auto& c : cases) {
        Connection whole;
        testing::openAccess(whole, testing::ownAccessFile(c.file));
        const auto expected = selectRows(whole, c.sql, c.fields);
        const std::size_t size = std::filesystem::file_size(testing::ownAccessFile(c.file));
        int failures = 0;
        for (std::size_t cut = c.pageSize; cut < size; cut += c.pageSize) {
            const std::string path = copyOf(c.file, cut);
            std::string error;
            std::vector<std::vector<Value>> rows;
            const std::string chatter = stderrDuring([&] {
                error = errorOf([&] {
                    Connection cn;
                    testing::openAccess(cn, path);
                    rows = selectRows(cn, c.sql, c.fields);
                });
            });
            if (error.empty()) {
                EXPECT_EQ(rows, expected) << c.file << " cut at " << cut;
            } else {
                ++failures;
                EXPECT_NE(error.find(path), std::string::npos) << error;
            }
            EXPECT_EQ(chatter, "") << c.file << " cut at " << cut;
        }
        EXPECT_GT(failures, 0) << c.file;
    }
}

// The program opens the time-and-attendance file through its helper, which shows the clerk the
// engine's description.
TEST_F(AccessFailures, TheOpeningHelperShowsWhichFileAndWhy) {
    testing::TestLog t;
    const std::string encrypted = copyOf("V2010_with-password.accdb");
    ConnectionRef cn;
    EXPECT_FALSE(blnOpenConnection(t.log, cn, encrypted));
    ASSERT_EQ(t.prompter.shown.size(), 1u);
    EXPECT_EQ(t.prompter.shown[0].text.rfind(encrypted + "\r\nCould not read the tables", 0), 0u)
        << t.prompter.shown[0].text;
    EXPECT_NE(t.logText().find("encrypted with a password"), std::string::npos);

    ConnectionRef chronel;
    EXPECT_TRUE(blnOpenConnection(t.log, chronel, testing::ownAccessFile("node-adodb.mdb")));
    EXPECT_EQ(selectValue(*chronel, "select count(*) as v from Users").toLong(), 3);
    EXPECT_TRUE(blnCloseConnection(t.log, chronel));
    EXPECT_EQ(t.prompter.shown.size(), 1u);
}

TEST_F(AccessFailures, WhatAStatementNeedsAndTheFileLacksIsNamed) {
    const std::string path = testing::ownAccessFile("parameters.accdb");
    Connection cn;
    testing::openAccess(cn, path);
    struct Case {
        std::string sql;
        std::string why;
    };
    const std::vector<Case> cases = {
        {"select * from REPORTDATA", "Could not find table 'REPORTDATA'"},
        {"select PST as Reg from Membership", "Could not find column 'PST'"},
        {"select [FULL NAME] from Membership order by ADJUSTEDDATE",
         "Could not find column 'FULL NAME'"},
        {"select * from tq", "'tq' in the Access database"},
        {"select * from Membership, EXPORTDFN", "Could not find table 'EXPORTDFN'"},
    };
    for (const auto& c : cases) {
        const std::string error = errorOf([&] {
            Recordset rs;
            rs.open(c.sql, cn, CursorType::Static, LockType::ReadOnly);
        });
        EXPECT_NE(error.find(c.why), std::string::npos) << c.sql << ": " << error;
        EXPECT_NE(error.find(path), std::string::npos) << error;
    }
    // The failures leave the connection as it was.
    EXPECT_EQ(selectValue(cn, "select count(*) as v from membership").toLong(), 1);
}

TEST_F(AccessFailures, NothingIsEverWrittenToTheFile) {
    const std::string path = copyOf("testV1997.mdb");
    const std::string before = bytesOf(path);
    Connection cn;
    testing::openAccess(cn, path);
    const std::vector<std::function<void()>> writes = {
        [&] { cn.execute("delete from Table1"); },
        [&] { cn.execute("update Table1 set A = 'x'"); },
        [&] { cn.execute("drop table Table1"); },
        [&] { cn.execute("create table Punch (Name text)"); },
        [&] {
            Recordset rs;
            rs.open("delete from Table1", cn, CursorType::Dynamic, LockType::Optimistic);
        },
        [&] {
            Recordset rs;
            rs.open("select * from Table1", cn, CursorType::Dynamic, LockType::Optimistic);
            rs.addNew();
            rs.setField("A", "new");
            rs.update();
        },
    };
    for (std::size_t i = 0; i < writes.size(); ++i) {
        const std::string error = errorOf(writes[i]);
        EXPECT_NE(error.find("is only read"), std::string::npos) << i << ": " << error;
        EXPECT_NE(error.find(path), std::string::npos) << error;
    }
    EXPECT_EQ(selectValue(cn, "select count(*) as v from Table1").toLong(), 2);
    cn.close();
    EXPECT_EQ(bytesOf(path), before);
}

TEST_F(AccessFailures, EachConnectionReadsItsOwnTablesAndClosesCleanly) {
    const std::string path = testing::ownAccessFile("node-adodb.mdb");
    Connection a;
    Connection b;
    testing::openAccess(a, path);
    testing::openAccess(b, path);
    EXPECT_EQ(selectValue(a, "select count(*) as v from USERS").toLong(), 3);
    EXPECT_EQ(selectValue(a, "select UserName as v from users where UserId = 3"), Value("张三"));
    a.close();
    EXPECT_EQ(selectValue(b, "select count(*) as v from Users").toLong(), 3);
    EXPECT_EQ(a.state(), kStateClosed);
}

}  // namespace
}  // namespace vantrell::db
