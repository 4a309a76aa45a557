#include "extract/StagedNames.h"

#include <memory>

#include "interfacedb/modDataDef.h"
#include "interfacedb/stage/StageStatements.h"
#include "interfacedb/stage/StageTables.h"

namespace vantrell {

namespace {

struct NameTable {
    const char* deleteAll;
    const char* groupQuery;
    const char* groupColumn;
    const char* tableQuery;
};

void rebuild(modErrorLog& log, db::Connection& cn, ExtractionState& state, const NameTable& table) {
    cn.execute(table.deleteAll);

    state.rsPunch = std::make_unique<db::Recordset>();
    state.rsPunch->open(table.groupQuery, cn, db::CursorType::Dynamic, db::LockType::Optimistic);
    db::Recordset names;
    names.open(table.tableQuery, cn, db::CursorType::Dynamic, db::LockType::Optimistic);
    if (blnHasRecords(log, state.rsPunch)) {
        for (state.rsPunch->moveFirst(); !state.rsPunch->eof(); state.rsPunch->moveNext()) {
            names.addNew();
            names.setField(stage::kName, state.rsPunch->field(table.groupColumn));
            names.update();
        }
    }
    names.close();
    blnCloseRecordset(log, state.rsPunch);
}

}  // namespace

void rebuildStagedNames(modErrorLog& log, db::Connection& interface, ExtractionState& state) {
    using namespace stage;
    rebuild(log, interface, state, {kDeleteEmployees, kPunchEmployeeNames, kName, kEmployeeTable});
    rebuild(log, interface, state,
            {kDeletePayTypes, kPunchPayTypes, kPayTypeColumn, kPayTypeTable});
}

}  // namespace vantrell
