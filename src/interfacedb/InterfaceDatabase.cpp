#include "interfacedb/InterfaceDatabase.h"

#include <algorithm>
#include <string>
#include <vector>

#include "diag/FileSystem.h"
#include "diag/Guard.h"
#include "interfacedb/Catalog.h"
#include "interfacedb/ConnectionString.h"
#include "interfacedb/DbError.h"
#include "interfacedb/stage/StageTables.h"

namespace vantrell {

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

        // A table counts as present only under its exact name, letter case included; one
        // that is present is never altered.
        const std::vector<std::string> present = catalog.tableNames();
        for (const db::TableDefinition& table : stage::stageTableDefinitions()) {
            if (std::find(present.begin(), present.end(), table.name) == present.end()) {
                catalog.appendTable(table);
            }
        }
        // Also for a file made before the indexes were: an index changes no result, so a table
        // that cannot take one (a column missing, say) is left as it is and found by scanning.
        for (const auto& [table, column] : stage::stageLookupColumns()) {
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
