#include "interfacedb/InterfaceDatabase.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "diag/FileSystem.h"
#include "diag/Guard.h"
#include "interfacedb/Catalog.h"
#include "interfacedb/ConnectionString.h"
#include "interfacedb/DbError.h"
#include "interfacedb/stage/StageTables.h"

namespace vantrell {

namespace {

// Adds each table that is missing and the lookup indexes. A table counts as present only under
// its exact name, letter case included; one that is present is never altered.
void completeTables(db::Catalog& catalog) {
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
}

// Makes the database file with all its tables under another name and then puts it in place,
// so that a start killed at any moment leaves either no file or a complete one.
void createWhole(const std::filesystem::path& path) {
    std::filesystem::path building = path;
    building += ".new";
    std::filesystem::remove(building);  // what a killed start may have left
    {
        db::Catalog catalog;
        catalog.create(db::catalogConnectionStringFor(pathToUtf8(building)));
        completeTables(catalog);
    }
    std::filesystem::rename(building, path);
}

// Throws DbError for what cannot be the database file: a folder, or a path the file system
// refuses for its length. A file of no bytes holds no database and nothing to lose (a first
// start killed before it wrote any): it is removed and made anew.
void refuseWhatIsNoDatabaseFile(const std::filesystem::path& path, const std::string& shown) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (error == std::errc::filename_too_long) {
        throw db::DbError("The path '" + shown + "' is too long for the file system.");
    }
    if (std::filesystem::is_directory(status)) {
        throw db::DbError("'" + shown + "' is a folder, not a database file.");
    }
    if (std::filesystem::is_regular_file(status) && std::filesystem::file_size(path, error) == 0 &&
        !error) {
        std::filesystem::remove(path);
    }
}

}  // namespace

bool blnConfigureInterfaceDatabase(modErrorLog& log, InterfaceDatabase& interfaceDb) {
    bool result = false;
    guard(log, "blnConfigureInterfaceDatabase", [&] {
        interfaceDb.strInterfaceDB = pathToUtf8(log.folder().file(kInterfaceDatabaseFileName));
        const std::string connection = db::catalogConnectionStringFor(interfaceDb.strInterfaceDB);

        const std::filesystem::path path = utf8ToPath(interfaceDb.strInterfaceDB);
        refuseWhatIsNoDatabaseFile(path, interfaceDb.strInterfaceDB);
        db::Catalog catalog;
        std::error_code error;
        if (!fileExists(path) && !std::filesystem::exists(path, error)) {
            createWhole(path);
        } else if (!fileExists(path)) {
            // A hidden or system file of that name is never replaced: the catalog refuses it.
            catalog.create(connection);
        }
        catalog.attach(connection);
        completeTables(catalog);
        result = true;
    });
    return result;
}

}  // namespace vantrell
