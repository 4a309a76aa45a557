#include "ExtractionFixture.h"

#include <algorithm>

#include "extract/Extraction.h"
#include "interfacedb/InterfaceDatabase.h"
#include "interfacedb/modDataDef.h"

namespace vantrell::testing {

sampledata::ExportDefinition ExtractionFixture::standardExport() {
    sampledata::ExportDefinition definition;
    for (const char* column : sampledata::kPayTypeColumns) {
        definition.payTypes[column] = std::string("Pay ") + column;
    }
    definition.payTypes["HOSTD"] = "Holiday Pay";
    return definition;
}

sampledata::Day ExtractionFixture::day(sampledata::Cell name, sampledata::Cell date,
                                       sampledata::Cell reg, sampledata::Cell ot1,
                                       sampledata::Cell ot2, sampledata::Cell code,
                                       sampledata::Cell useDiff) {
    return {std::move(name), std::move(date), std::move(reg),    std::move(ot1),
            std::move(ot2),  std::move(code), std::move(useDiff)};
}

void ExtractionFixture::addStandardSetup() {
    chronel.add(standardExport());
    chronel.add(sampledata::AccrualTitles{"Vacation", "Sick", "Personal"});
}

void ExtractionFixture::open() {
    chronel.commit();
    if (!interfaceDb.cnInterface) {
        ASSERT_TRUE(blnConfigureInterfaceDatabase(t.log, interfaceDb));
        ASSERT_TRUE(blnOpenConnection(t.log, interfaceDb.cnInterface, interfaceDb.strInterfaceDB));
        ASSERT_TRUE(
            blnOpenConnection(t.log, state.cnChronel, t.sandbox.file("Chronel.db").string()));
    }
}

void ExtractionFixture::run() {
    open();
    GetChronelData(t.log, interfaceDb, state);
}

std::vector<std::string> ExtractionFixture::punch() {
    db::Recordset rs;
    rs.open("select * from Punch order by Sequence", *interfaceDb.cnInterface,
            db::CursorType::Static, db::LockType::ReadOnly);
    std::vector<std::string> rows;
    for (; !rs.eof(); rs.moveNext()) {
        EXPECT_FALSE(rs.field("Posted").toBoolean());
        EXPECT_EQ(rs.field("Error").toText(), "");
        rows.push_back(rs.field("Sequence").toText() + "|" + rs.field("Name").toText() + "|" +
                       rs.field("Date").toText() + "|" + rs.field("Hours").toText() + "|" +
                       rs.field("PayType").toText());
    }
    return rows;
}

std::vector<std::string> ExtractionFixture::names(const std::string& table) {
    db::Recordset rs;
    rs.open("select Name from " + table, *interfaceDb.cnInterface, db::CursorType::Static,
            db::LockType::ReadOnly);
    std::vector<std::string> values;
    for (; !rs.eof(); rs.moveNext()) {
        values.push_back(rs.field("Name").toText());
    }
    std::sort(values.begin(), values.end());
    return values;
}

void ExtractionFixture::executeOnInterface(const std::string& sql) {
    interfaceDb.cnInterface->execute(sql);
}

}  // namespace vantrell::testing
