#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "interfacedb/Catalog.h"
#include "interfacedb/ColumnType.h"
#include "interfacedb/Connection.h"
#include "interfacedb/ConnectionString.h"
#include "interfacedb/DbError.h"
#include "interfacedb/FieldOrdinal.h"
#include "interfacedb/ObjectState.h"
#include "interfacedb/Recordset.h"
#include "interfacedb/Sqlite.h"
#include "support/Sandbox.h"

namespace vantrell::db {
namespace {

constexpr int kText = static_cast<int>(DataTypeCode::VarWChar);

// A database file in a sandbox with a Punch-like table, and a connection open on it.
struct EngineFixture : ::testing::Test {
    testing::Sandbox sandbox;
    std::string path = sandbox.file("stage.db").string();
    Connection cn;

    void SetUp() override {
        Catalog catalog;
        catalog.create(catalogConnectionStringFor(path));
        TableDefinition table{"Punch", {}};
        table.appendColumn("Sequence", static_cast<int>(DataTypeCode::Integer));
        table.appendColumn("Name", kText, 50);
        table.appendColumn("Date", static_cast<int>(DataTypeCode::Date));
        table.appendColumn("Hours", static_cast<int>(DataTypeCode::Single));
        table.appendColumn("Posted", static_cast<int>(DataTypeCode::Boolean));
        catalog.appendTable(table);
        cn.open(connectionStringFor(path));
    }

    void addRow(int sequence, const std::string& name, float hours, bool posted = false) {
        Recordset rs;
        rs.open("select * from Punch", cn, CursorType::Dynamic, LockType::Optimistic);
        rs.addNew();
        rs.setField("Sequence", sequence);
        rs.setField("Name", name);
        rs.setField("Date", *DateTime::parse("2026-03-02"));
        rs.setField("Hours", hours);
        rs.setField("Posted", posted);
        rs.update();
    }

    int count(const std::string& sql) {
        Recordset rs;
        rs.open(sql, cn, CursorType::Static, LockType::ReadOnly);
        int n = 0;
        for (; !rs.eof(); rs.moveNext()) {
            ++n;
        }
        return n;
    }
};

TEST_F(EngineFixture, RowsReadBackWithTheirColumnTypes) {
    addRow(1, "Worker One", 8.1f);
    Recordset rs;
    rs.open("select * from punch order by Sequence", cn, CursorType::Dynamic, LockType::Optimistic);
    ASSERT_FALSE(rs.eof());
    EXPECT_EQ(rs.field("sequence").kind(), Value::Kind::Integer);
    EXPECT_EQ(rs.field("Name").toText(), "Worker One");
    EXPECT_EQ(rs.field("Date").kind(), Value::Kind::Date);
    EXPECT_EQ(rs.field("Date").toText(), "2026-03-02");
    EXPECT_EQ(rs.field("Hours").kind(), Value::Kind::Single);
    EXPECT_EQ(rs.field("Hours").toSingle(), 8.1f);
    EXPECT_EQ(rs.field("Posted").kind(), Value::Kind::Boolean);
    EXPECT_FALSE(rs.field("Posted").toBoolean());
    EXPECT_THROW((void)rs.field("NoSuchColumn"), DbError);
}

TEST_F(EngineFixture, EmptySetHasBothFlagsAndFieldsNeedARow) {
    Recordset rs;
    rs.open("select * from Punch", cn, CursorType::Dynamic, LockType::Optimistic);
    EXPECT_TRUE(rs.bof());
    EXPECT_TRUE(rs.eof());
    EXPECT_THROW((void)rs.field("Name"), DbError);
    EXPECT_THROW(rs.moveNext(), DbError);
}

TEST_F(EngineFixture, AliasesAndOrderComeFromTheStatement) {
    addRow(2, "B", 1.0f);
    addRow(1, "A", 2.0f);
    Recordset rs;
    rs.open("select Name as FullName, Hours as Reg from Punch order by Name desc", cn,
            CursorType::Static, LockType::ReadOnly);
    EXPECT_EQ(rs.field("fullname").toText(), "B");
    rs.moveNext();
    EXPECT_EQ(rs.field("FullName").toText(), "A");
    EXPECT_FLOAT_EQ(rs.field("Reg").toSingle(), 2.0f);
    rs.moveNext();
    EXPECT_TRUE(rs.eof());
    EXPECT_FALSE(rs.bof());
    rs.moveFirst();
    EXPECT_EQ(rs.field("FullName").toText(), "B");
}

TEST_F(EngineFixture, AForwardOnlyReadOnlySetReadsRowByRowInOrderWithTheirTypes) {
    for (int i = 3000; i > 0; --i) {
        addRow(i, "Worker " + std::to_string(i), static_cast<float>(i % 10));
    }
    Recordset rs;
    rs.open("select * from Punch order by Sequence", cn, CursorType::ForwardOnly,
            LockType::ReadOnly);
    EXPECT_FALSE(rs.bof());
    rs.moveFirst();  // still on the first row: nothing to go back to
    int expected = 1;
    for (; !rs.eof(); rs.moveNext()) {
        ASSERT_EQ(rs.field("Sequence").toLong(), expected);
        EXPECT_EQ(rs.field("name").toText(), "Worker " + std::to_string(expected));
        EXPECT_EQ(rs.field("Date").kind(), Value::Kind::Date);
        EXPECT_EQ(rs.field("Hours").kind(), Value::Kind::Single);
        EXPECT_EQ(rs.field("Posted").kind(), Value::Kind::Boolean);
        ++expected;
    }
    EXPECT_EQ(expected, 3001);
    EXPECT_FALSE(rs.bof());
    EXPECT_THROW((void)rs.field("Name"), DbError);
    EXPECT_THROW(rs.moveNext(), DbError);
    EXPECT_THROW(rs.moveFirst(), DbError);
    EXPECT_THROW(rs.addNew(), DbError);
    rs.close();

    // Once past the last row the statement has let go: the table can change.
    cn.execute("delete from Punch");
    rs.open("select * from Punch", cn, CursorType::ForwardOnly, LockType::ReadOnly);
    EXPECT_TRUE(rs.bof());
    EXPECT_TRUE(rs.eof());
    EXPECT_THROW(rs.moveNext(), DbError);
}

TEST_F(EngineFixture, AForwardOnlySetFailsAtTheRowThatFailsAndAfterItsConnectionClosed) {
    addRow(1, "A", 1.0f);
    addRow(2, "B", 1.0f);
    cn.execute("update Punch set Sequence=-9223372036854775807-1 where Name='B'");
    Recordset rs;
    // abs() of the smallest integer overflows: the second row (in the order they were added)
    // cannot be read.
    rs.open("select abs(Sequence) as Size from Punch", cn, CursorType::ForwardOnly,
            LockType::ReadOnly);
    EXPECT_EQ(rs.field("Size").toLong(), 1);
    EXPECT_THROW(rs.moveNext(), DbError);
    EXPECT_TRUE(rs.eof());
    rs.close();

    rs.open("select * from Punch order by Name", cn, CursorType::ForwardOnly, LockType::ReadOnly);
    EXPECT_EQ(rs.field("Name").toText(), "A");
    cn.close();
    EXPECT_EQ(rs.field("Name").toText(), "A");  // the row in hand stays readable
    EXPECT_THROW(rs.moveNext(), DbError);
}

// The message of the DbError that `read` throws, or "" when it throws none.
template <class Read>
std::string failureOf(Read read) {
    try {
        read();
    } catch (const DbError& e) {
        return e.what();
    }
    return {};
}

TEST_F(EngineFixture, FieldsByPositionAgreeWithFieldsByNameAndFailAsAnUnknownNameDoes) {
    Recordset add;
    add.open("select * from Punch", cn, CursorType::Dynamic, LockType::Optimistic);
    add.addNew();
    add.setField(add.ordinalOf("sequence"), 7);
    add.setField(add.ordinalOf("NAME"), "Worker Seven, by position");
    EXPECT_EQ(add.field(std::size_t{1}).toText(), "Worker Seven, by position");  // the new row
    EXPECT_THROW(add.setField(add.ordinalOf("Hours"), "eight"), DbError);  // checked as by name
    add.setField(add.ordinalOf("Hours"), 7.5);
    const std::string unknown = failureOf([&] { (void)add.ordinalOf("NoSuchColumn"); });
    EXPECT_EQ(unknown,
              "Item cannot be found in the collection corresponding to the requested name or "
              "ordinal: NoSuchColumn");
    EXPECT_EQ(failureOf([&] { add.setField(std::size_t{5}, 1); }),
              "Item cannot be found in the collection corresponding to the requested name or "
              "ordinal: 5");
    add.update();
    add.close();

    for (const CursorType cursor : {CursorType::Static, CursorType::ForwardOnly}) {
        SCOPED_TRACE(static_cast<int>(cursor));
        Recordset rs;
        rs.open("select Posted, Hours as Reg, Name, Sequence from Punch", cn, cursor,
                LockType::ReadOnly);
        EXPECT_EQ(rs.ordinalOf("reg"), 1u);
        for (std::size_t i = 0; i < rs.columnCount(); ++i) {
            const std::string name[] = {"Posted", "Reg", "Name", "Sequence"};
            EXPECT_EQ(rs.field(i), rs.field(name[i])) << name[i];
        }
        EXPECT_TRUE(rs.field(std::size_t{0}).isNull());  // not assigned, no default
        EXPECT_EQ(rs.field(std::size_t{3}).kind(), Value::Kind::Integer);
        EXPECT_EQ(failureOf([&] { (void)rs.field(std::size_t{4}); }),
                  "Item cannot be found in the collection corresponding to the requested name "
                  "or ordinal: 4");
        rs.moveNext();
        EXPECT_TRUE(rs.eof());
        EXPECT_EQ(failureOf([&] { (void)rs.field(std::size_t{0}); }),
                  failureOf([&] { (void)rs.field("Posted"); }));
        rs.close();
        EXPECT_EQ(failureOf([&] { (void)rs.field(std::size_t{0}); }),
                  "Operation is not allowed when the object is closed.");
        EXPECT_EQ(failureOf([&] { (void)rs.ordinalOf("Posted"); }),
                  "Operation is not allowed when the object is closed.");
    }
}

TEST_F(EngineFixture, AForwardOnlySetHandsItsTextsOverAndTheNextRowReadsWhole) {
    const std::string first = "Worker One, a name longer than a short string";
    const std::string second = "Worker Two, another name of the same kind";
    addRow(1, first, 1.5f);
    addRow(2, second, 2.5f);
    Recordset rs;
    rs.open("select Name, Hours, Date, Sequence from Punch order by Sequence", cn,
            CursorType::ForwardOnly, LockType::ReadOnly);
    const Value name = rs.field(std::size_t{0});
    EXPECT_EQ(rs.field(std::size_t{0}), name);  // read again, the same
    rs.moveNext();
    EXPECT_EQ(name.toText(), first);  // what was handed over outlives its row
    EXPECT_EQ(rs.field(std::size_t{0}).toText(), second);
    EXPECT_EQ(rs.field("Hours").toSingle(), 2.5f);
    EXPECT_EQ(rs.field("Date").kind(), Value::Kind::Date);
    EXPECT_EQ(rs.field("Sequence").toLong(), 2);
    rs.moveNext();
    EXPECT_TRUE(rs.eof());
}

TEST_F(EngineFixture, AFieldOrdinalIsFoundOncePerOpeningAndAnewInTheNextSet) {
    addRow(1, "A", 1.0f);
    FieldOrdinal name("Name");
    FieldOrdinal missing("Missing");
    Recordset rs;
    EXPECT_EQ(failureOf([&] { (void)name.in(rs); }),
              "Operation is not allowed when the object is closed.");
    rs.open("select Name, Sequence from Punch", cn, CursorType::Static, LockType::ReadOnly);
    EXPECT_EQ(name.in(rs), 0u);
    EXPECT_EQ(failureOf([&] { (void)missing.in(rs); }),
              "Item cannot be found in the collection corresponding to the requested name or "
              "ordinal: Missing");
    rs.close();
    EXPECT_EQ(failureOf([&] { (void)rs.field(name.in(rs)); }),
              "Operation is not allowed when the object is closed.");
    // The same set on another statement, then another set: each finds the column where it is.
    rs.open("select Sequence, Hours, Name from Punch", cn, CursorType::Static, LockType::ReadOnly);
    EXPECT_EQ(rs.field(name.in(rs)).toText(), "A");
    Recordset other;
    other.open("select Hours, Name from Punch", cn, CursorType::ForwardOnly, LockType::ReadOnly);
    EXPECT_EQ(name.in(other), 1u);
    EXPECT_EQ(name.in(rs), 2u);
    EXPECT_NE(rs.opening(), other.opening());
}

TEST_F(EngineFixture, TextLongerThanItsColumnIsRefusedNeverCut) {
    Recordset rs;
    rs.open("select * from Punch", cn, CursorType::Dynamic, LockType::Optimistic);
    rs.addNew();
    rs.setField("Name", std::string(50, 'x'));
    EXPECT_THROW(rs.setField("Name", std::string(51, 'x')), DbError);
    // Characters are counted, not bytes: 50 letters of two bytes each fit.
    std::string accented;
    for (int i = 0; i < 50; ++i) {
        accented += "\xC3\xA9";
    }
    rs.setField("Name", accented);
    rs.update();
    EXPECT_EQ(count("select * from Punch where Name='" + accented + "'"), 1);
}

TEST_F(EngineFixture, WrongTypesAreRefusedOnWrite) {
    Recordset rs;
    rs.open("select * from Punch", cn, CursorType::Dynamic, LockType::Optimistic);
    rs.addNew();
    EXPECT_THROW(rs.setField("Date", "not a date"), DbError);
    EXPECT_THROW(rs.setField("Hours", "eight"), DbError);
    EXPECT_THROW(rs.setField("Hours", 1e300), DbError);
    EXPECT_THROW(rs.setField("Sequence", 3e9), DbError);
    rs.setField("Date", "2026-03-02 07:30:00");
    rs.setField("Sequence", "12");
    rs.update();
    EXPECT_EQ(count("select * from Punch where Sequence=12"), 1);
}

TEST_F(EngineFixture, ReadOnlySetsCannotAddRows) {
    Recordset rs;
    rs.open("select * from Punch", cn, CursorType::Static, LockType::ReadOnly);
    EXPECT_THROW(rs.addNew(), DbError);
    EXPECT_THROW(rs.setField("Name", "x"), DbError);
}

TEST_F(EngineFixture, BooleanLiteralsMatchStoredBooleans) {
    addRow(1, "A", 1.0f, true);
    addRow(2, "B", 1.0f, false);
    cn.execute("delete from Punch where Posted=true");
    EXPECT_EQ(count("select * from Punch"), 1);
    cn.execute("delete from Punch where Posted=false");
    EXPECT_EQ(count("select * from Punch"), 0);
}

TEST_F(EngineFixture, AStatementCannotCarryASecondOne) {
    addRow(1, "A", 1.0f);
    EXPECT_THROW(cn.execute("delete from Punch where Sequence=2; delete from Punch"), DbError);
    EXPECT_EQ(count("select * from Punch"), 1);
    cn.execute("delete from Punch where Sequence=1;");
    EXPECT_EQ(count("select * from Punch"), 0);
}

TEST_F(EngineFixture, NamesCompareWithoutLetterCase) {
    addRow(1, "Worker One", 1.0f);
    addRow(2, "WORKER ONE", 1.0f);
    EXPECT_EQ(count("select Name from Punch group by Name"), 1);
    cn.execute("delete from Punch where Name='worker one'");
    EXPECT_EQ(count("select * from Punch"), 0);
}

TEST_F(EngineFixture, StateAndCloseOfConnectionsAndSets) {
    Recordset rs;
    EXPECT_EQ(rs.state(), kStateClosed);
    EXPECT_THROW(rs.close(), DbError);
    rs.open("select * from Punch", cn, CursorType::Dynamic, LockType::Optimistic);
    EXPECT_EQ(rs.state(), kStateOpen);
    EXPECT_THROW(rs.open("select * from Punch", cn, CursorType::Dynamic, LockType::Optimistic),
                 DbError);
    rs.close();
    EXPECT_EQ(rs.state(), kStateClosed);

    EXPECT_EQ(cn.state(), kStateOpen);
    cn.close();
    EXPECT_EQ(cn.state(), kStateClosed);
    EXPECT_THROW(cn.execute("delete from Punch"), DbError);
}

TEST_F(EngineFixture, RowsAddedAfterTheConnectionClosedFailCleanly) {
    Recordset rs;
    rs.open("select * from Punch", cn, CursorType::Dynamic, LockType::Optimistic);
    cn.close();
    rs.addNew();
    rs.setField("Name", "late");
    EXPECT_THROW(rs.update(), DbError);
}

// What another connection on the file sees: what has been committed.
std::vector<int> committedSequences(const std::string& path) {
    Connection other;
    other.open(connectionStringFor(path));
    Recordset rs;
    rs.open("select Sequence from Punch order by Sequence", other, CursorType::Static,
            LockType::ReadOnly);
    std::vector<int> sequences;
    for (; !rs.eof(); rs.moveNext()) {
        sequences.push_back(static_cast<int>(rs.field("Sequence").toLong()));
    }
    return sequences;
}

TEST_F(EngineFixture, OneCommitKeepsWhatWasWrittenBeforeAFailureAndUndoesAFailedWriteAlone) {
    EXPECT_THROW(cn.inOneCommit([&] {
        addRow(1, "Ann", 8);
        // A refused write is undone alone: the rows around it stay.
        EXPECT_THROW(addRow(2, std::string(60, 'x'), 8), DbError);
        addRow(3, "Bob", 8);
        EXPECT_EQ(committedSequences(path), std::vector<int>{}) << "committed before the end";
        throw Failure("the run stops here");
    }),
                 Failure);
    EXPECT_EQ(committedSequences(path), (std::vector<int>{1, 3}));

    // A whole transaction that fails keeps nothing.
    EXPECT_THROW(cn.inTransaction([&] {
        addRow(4, "Cy", 8);
        throw Failure("undone");
    }),
                 Failure);
    EXPECT_EQ(committedSequences(path), (std::vector<int>{1, 3}));
}

TEST_F(EngineFixture, AStepInsideATransactionIsUndoneAloneAndTheRestCommitsTogether) {
    cn.inOneCommit([&] {
        cn.inTransaction([&] {
            addRow(1, "Ann", 8);
            addRow(2, "Ann", 1);
        });
        EXPECT_THROW(cn.inTransaction([&] {
            addRow(3, "Bob", 8);
            throw Failure("this step fails");
        }),
                     Failure);
        cn.inTransaction([&] {
            addRow(4, "Cy", 8);
            // Steps nest.
            EXPECT_THROW(cn.inTransaction([&] {
                addRow(5, "Cy", 1);
                throw Failure("inner step fails");
            }),
                         Failure);
        });
        EXPECT_EQ(committedSequences(path), std::vector<int>{});
    });
    EXPECT_EQ(committedSequences(path), (std::vector<int>{1, 2, 4}));
}

TEST_F(EngineFixture, ATransactionThatSqliteEndedTakesNoMoreStepsAndDoesNotCommit) {
    // SQLite ends a transaction on its own after some failures (a full disk, an I/O error); the
    // same happens here by hand.
    EXPECT_THROW(cn.inOneCommit([&] {
        addRow(1, "Ann", 8);
        sqlite3_exec(cn.database()->handle(), "ROLLBACK", nullptr, nullptr, nullptr);
        EXPECT_THROW(cn.inTransaction([&] { addRow(2, "Ann", 1); }), TransactionLost);
    }),
                 DbError);
    EXPECT_EQ(committedSequences(path), std::vector<int>{});
    // The connection serves the next run.
    cn.inOneCommit([&] { addRow(3, "Bob", 8); });
    EXPECT_EQ(committedSequences(path), std::vector<int>{3});
}

TEST(EngineOpen, FilesThatAreNotDatabasesFailWithTheirPath) {
    testing::Sandbox sandbox;
    sandbox.write("notes.txt", std::string(4096, 'x'));
    std::filesystem::create_directory(sandbox.file("folder.mdb"));
    for (const char* name : {"missing.mdb", "notes.txt", "folder.mdb"}) {
        Connection cn;
        const std::string path = sandbox.file(name).string();
        try {
            cn.open(connectionStringFor(path));
            FAIL() << name << " opened";
        } catch (const DbError& e) {
            EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
        }
        EXPECT_EQ(cn.state(), kStateClosed);
        EXPECT_TRUE(cn.connectionString().empty());
    }
}

TEST(Catalog, CreatesTablesWithColumnsInOrderAndRefusesDuplicates) {
    testing::Sandbox sandbox;
    const std::string path = sandbox.file("c.db").string();
    Catalog catalog;
    catalog.create(catalogConnectionStringFor(path));
    EXPECT_THROW(Catalog().create(catalogConnectionStringFor(path)), DbError);
    TableDefinition table{"punch", {}};
    table.appendColumn("B", kText, 10);
    table.appendColumn("A", static_cast<int>(DataTypeCode::Integer));
    catalog.appendTable(table);
    table.name = "Punch";
    EXPECT_THROW(catalog.appendTable(table), DbError);  // names are matched without case
    TableDefinition bad{"Bad", {}};
    bad.appendColumn("X", 999);
    EXPECT_THROW(catalog.appendTable(bad), DbError);
    EXPECT_EQ(catalog.tableNames(), std::vector<std::string>{"punch"});

    Connection cn;
    cn.open(connectionStringFor(path));
    Recordset rs;
    rs.open("select * from punch", cn, CursorType::Dynamic, LockType::Optimistic);
    rs.addNew();
    EXPECT_THROW(rs.setField("B", "eleven char"), DbError);
}

}  // namespace
}  // namespace vantrell::db
