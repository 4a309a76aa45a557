#include "support/StagedRows.h"

#include "interfacedb/Recordset.h"

namespace vantrell::testing {

void addPunchRow(db::Connection& cn, int sequence, const std::string& name, db::DateTime date,
                 float hours, const std::string& payType) {
    db::Recordset rs;
    rs.open("select * from Punch", cn, db::CursorType::Dynamic, db::LockType::Optimistic);
    rs.addNew();
    rs.setField("Sequence", sequence);
    rs.setField("Name", name);
    rs.setField("Date", date);
    rs.setField("Hours", hours);
    rs.setField("PayType", payType);
    rs.setField("Posted", false);
    rs.update();
}

}  // namespace vantrell::testing
