#include <gtest/gtest.h>

#include "interfacedb/Catalog.h"
#include "interfacedb/ConnectionString.h"
#include "interfacedb/ObjectState.h"
#include "interfacedb/modDataDef.h"
#include "support/TestLog.h"

namespace vantrell {
namespace {

using testing::kStamp;

struct HelpersFixture : ::testing::Test {
    testing::TestLog t;
    std::string first = t.sandbox.file("first.db").string();
    std::string second = t.sandbox.file("second.db").string();

    void SetUp() override {
        for (const auto& path : {first, second}) {
            db::Catalog catalog;
            catalog.create(db::catalogConnectionStringFor(path));
            db::TableDefinition table{"Employee", {}};
            table.appendColumn("Name", 202, 50);
            catalog.appendTable(table);
        }
    }
};

TEST_F(HelpersFixture, OpeningAgainWithAnotherPathDoesNothing) {
    ConnectionRef cn;
    EXPECT_TRUE(blnOpenConnection(t.log, cn, first));
    ASSERT_TRUE(cn);
    EXPECT_TRUE(blnOpenConnection(t.log, cn, second));
    EXPECT_EQ(cn->connectionString(), db::connectionStringFor(first));
    EXPECT_TRUE(t.prompter.shown.empty());
}

TEST_F(HelpersFixture, FailedOpenIsLoggedWithThePathAndLeavesTheConnectionUnopened) {
    ConnectionRef cn;
    const std::string missing = t.sandbox.file("ChronelV7.mde").string();
    EXPECT_FALSE(blnOpenConnection(t.log, cn, missing));
    ASSERT_EQ(t.prompter.shown.size(), 1u);
    EXPECT_EQ(t.prompter.shown[0].text,
              missing + "\r\nCould not find file '" + missing + "'.\r\nblnOpenConnection");
    ASSERT_TRUE(cn);
    EXPECT_TRUE(cn->connectionString().empty());

    // Its state is closed: closing leaves the reference alone and succeeds.
    EXPECT_TRUE(blnCloseConnection(t.log, cn));
    EXPECT_TRUE(cn);
    EXPECT_EQ(t.prompter.shown.size(), 1u);
    // A later open with a good path still works.
    EXPECT_TRUE(blnOpenConnection(t.log, cn, first));
    EXPECT_EQ(cn->state(), db::kStateOpen);
}

TEST_F(HelpersFixture, ClosingReleasesAndIsIdempotent) {
    ConnectionRef cn;
    ASSERT_TRUE(blnOpenConnection(t.log, cn, first));
    RecordsetRef rs = std::make_unique<db::Recordset>();
    rs->open("select * from Employee", *cn, db::CursorType::Dynamic, db::LockType::Optimistic);

    EXPECT_TRUE(blnCloseRecordset(t.log, rs));
    EXPECT_FALSE(rs);
    EXPECT_TRUE(blnCloseRecordset(t.log, rs));
    RecordsetRef neverOpened = std::make_unique<db::Recordset>();
    EXPECT_TRUE(blnCloseRecordset(t.log, neverOpened));
    EXPECT_TRUE(neverOpened);  // closed state: left as it is

    EXPECT_TRUE(blnCloseConnection(t.log, cn));
    EXPECT_FALSE(cn);
    EXPECT_TRUE(blnCloseConnection(t.log, cn));
    EXPECT_TRUE(t.prompter.shown.empty());
    EXPECT_EQ(t.logText(), "");
}

TEST_F(HelpersFixture, HasRecordsTellsEmptyFromNonEmpty) {
    ConnectionRef cn;
    ASSERT_TRUE(blnOpenConnection(t.log, cn, first));
    RecordsetRef rs = std::make_unique<db::Recordset>();
    rs->open("select * from Employee", *cn, db::CursorType::Dynamic, db::LockType::Optimistic);
    EXPECT_FALSE(blnHasRecords(t.log, rs));
    rs.reset();

    cn->execute("insert into Employee (Name) values ('Worker One')");
    rs = std::make_unique<db::Recordset>();
    rs->open("select * from Employee", *cn, db::CursorType::Dynamic, db::LockType::Optimistic);
    EXPECT_TRUE(blnHasRecords(t.log, rs));
    EXPECT_TRUE(t.prompter.shown.empty());
}

TEST_F(HelpersFixture, HasRecordsOnAClosedOrMissingSetLogsAndSaysNo) {
    RecordsetRef missing;
    EXPECT_FALSE(blnHasRecords(t.log, missing));
    RecordsetRef closed = std::make_unique<db::Recordset>();
    EXPECT_FALSE(blnHasRecords(t.log, closed));
    ASSERT_EQ(t.prompter.shown.size(), 2u);
    EXPECT_EQ(t.prompter.shown[1].text,
              "Operation is not allowed when the object is closed.\r\nblnHasRecords");
    EXPECT_EQ(t.logText().substr(0, std::string(kStamp).size() + 13),
              std::string(kStamp) + "blnHasRecords");
}

}  // namespace
}  // namespace vantrell
