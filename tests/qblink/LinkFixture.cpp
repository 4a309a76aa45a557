#include "LinkFixture.h"

#include "interfacedb/InterfaceDatabase.h"
#include "interfacedb/modDataDef.h"
#include "support/StagedRows.h"

namespace vantrell::testing {

LinkFixture::LinkFixture() {
    if (!blnConfigureInterfaceDatabase(t.log, interfaceDb) ||
        !blnOpenConnection(t.log, interfaceDb.cnInterface, interfaceDb.strInterfaceDB)) {
        ADD_FAILURE() << "interface database not ready: " << t.logText();
    }
}

void LinkFixture::stagePunch(int sequence, const std::string& name, const std::string& date,
                             float hours, const std::string& payType) {
    addPunchRow(*interfaceDb.cnInterface, sequence, name, *db::DateTime::parse(date), hours,
                payType);
}

void LinkFixture::stageNames(const std::string& table, const std::vector<std::string>& names) {
    db::Recordset rs;
    rs.open("select * from " + table, *interfaceDb.cnInterface, db::CursorType::Dynamic,
            db::LockType::Optimistic);
    for (const std::string& name : names) {
        rs.addNew();
        rs.setField("Name", name);
        rs.update();
    }
}

std::vector<std::string> LinkFixture::rows(const std::string& sql,
                                           const std::vector<std::string>& columns) {
    db::Recordset rs;
    rs.open(sql, *interfaceDb.cnInterface, db::CursorType::Static, db::LockType::ReadOnly);
    std::vector<std::string> result;
    for (; !rs.eof(); rs.moveNext()) {
        std::string row;
        for (const std::string& column : columns) {
            const db::Value value = rs.field(column);
            if (&column != &columns.front()) {
                row += '|';
            }
            row += value.isNull() ? "<null>" : value.toText();
        }
        result.push_back(row);
    }
    return result;
}

std::vector<std::string> LinkFixture::punchRows() {
    return rows("select Sequence, Error from Punch order by Sequence", {"Sequence", "Error"});
}

std::string qbxmlResponse(const std::string& elements) {
    return "<?xml version=\"1.0\" ?>\n<QBXML>\n<QBXMLMsgsRs>\n" + elements +
           "</QBXMLMsgsRs>\n</QBXML>\n";
}

}  // namespace vantrell::testing
