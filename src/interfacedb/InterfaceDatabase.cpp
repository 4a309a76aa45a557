#include "interfacedb/InterfaceDatabase.h"

#include <utility>

#include "diag/FileSystem.h"
#include "diag/Guard.h"
#include "interfacedb/Catalog.h"
#include "interfacedb/ColumnType.h"
#include "interfacedb/ConnectionString.h"
#include "interfacedb/DbError.h"

namespace vantrell {

namespace {

constexpr int kText = static_cast<int>(db::DataTypeCode::VarWChar);

db::TableDefinition employeeTable() {
    db::TableDefinition table{"Employee", {}};
    table.appendColumn("Name", kText, 50);
    return table;
}

db::TableDefinition payTypeTable() {
    db::TableDefinition table{"PayType", {}};
    table.appendColumn("Name", kText, 50);
    return table;
}

db::TableDefinition punchTable() {
    db::TableDefinition table{"Punch", {}};
    table.appendColumn("Sequence", static_cast<int>(db::DataTypeCode::Integer));
    table.appendColumn("Name", kText, 50);
    table.appendColumn("Date", static_cast<int>(db::DataTypeCode::Date));
    table.appendColumn("Hours", static_cast<int>(db::DataTypeCode::Single));
    table.appendColumn("PayType", kText, 50);
    table.appendColumn("Posted", static_cast<int>(db::DataTypeCode::Boolean));
    table.appendColumn("Error", kText, 255);
    return table;
}

// The columns that single rows are found by: a ticket by its Sequence when the accounting
// system answers, a name when it knows it. Without an index each such statement reads the
// whole table, and the export grows with the square of the tickets.
constexpr std::pair<const char*, const char*> kLookupColumns[] = {
    {"Punch", "Sequence"}, {"Employee", "Name"}, {"PayType", "Name"}};

}  // namespace

bool blnConfigureInterfaceDatabase(modErrorLog& log, ProgramState& state) {
    bool result = false;
    guard(log, "blnConfigureInterfaceDatabase", [&] {
        state.strInterfaceDB = pathToUtf8(log.folder().file(kInterfaceDatabaseFileName));
        const std::string connection = db::catalogConnectionStringFor(state.strInterfaceDB);

        db::Catalog catalog;
        if (!fileExists(utf8ToPath(state.strInterfaceDB))) {
            catalog.create(connection);
        }
        catalog.attach(connection);

        std::string marker;
        for (const auto& name : catalog.tableNames()) {
            if (name == "Employee") {
                marker += 'E';
            } else if (name == "PayType") {
                marker += 'T';
            } else if (name == "Punch") {
                marker += 'P';
            }
        }
        if (marker.find('E') == std::string::npos) {
            catalog.appendTable(employeeTable());
        }
        if (marker.find('T') == std::string::npos) {
            catalog.appendTable(payTypeTable());
        }
        if (marker.find('P') == std::string::npos) {
            catalog.appendTable(punchTable());
        }
        // Also for a file made before the indexes were: an index changes no result, so a table
        // that cannot take one (a column missing, say) is left as it is and found by scanning.
        for (const auto& [table, column] : kLookupColumns) {
            try {
                catalog.appendIndex(table, column);
            } catch (const db::DbError&) {
            }
        }
        result = true;
    });
    return result;
}

}  // namespace vantrell
