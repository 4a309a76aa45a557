#include "interfacedb/InterfaceDatabase.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "diag/FileSystem.h"
#include "diag/Guard.h"
#include "diag/Utf8.h"
#include "interfacedb/Catalog.h"
#include "interfacedb/ColumnType.h"
#include "interfacedb/ConnectionString.h"
#include "interfacedb/DbError.h"
#include "interfacedb/stage/StageTables.h"

namespace vantrell {

namespace {

// What a column of this kind holds, for a message.
std::string kindText(db::ColumnType::Kind kind) {
    switch (kind) {
        case db::ColumnType::Kind::Boolean:
            return "Yes/No values";
        case db::ColumnType::Kind::Integer:
            return "whole numbers";
        case db::ColumnType::Kind::Single:
        case db::ColumnType::Kind::Double:
            return "numbers";
        case db::ColumnType::Kind::Text:
            return "text";
        case db::ColumnType::Kind::Date:
            return "dates";
        case db::ColumnType::Kind::Any:
            break;
    }
    return "values of no declared type";
}

// A checked table that is present: each column it lacks and that a file made before it may
// lack is added; a column missing otherwise, or declared for other values than the
// definition's, ends the set-up with a message naming the table and the column, so that
// nothing is recorded into a table that would lose it.
void completeColumns(db::Catalog& catalog, const db::TableDefinition& table) {
    const std::vector<db::Catalog::ColumnInfo> present = catalog.tableColumns(table.name);
    const std::string cannot = table.name == stage::kNameMap
                                   ? "; the program cannot keep its name map in it."
                                   : "; the program cannot record exports in it.";
    for (const db::TableDefinition::ColumnDefinition& column : table.columns) {
        const auto found =
            std::find_if(present.begin(), present.end(), [&](const db::Catalog::ColumnInfo& info) {
                return equalsIgnoringAsciiCase(info.name, column.name);
            });
        if (found == present.end()) {
            if (!stage::isAddedLater(table.name, column.name)) {
                throw db::DbError("The table " + table.name + " of " + kInterfaceDatabaseFileName +
                                  " lacks its column " + column.name + cannot);
            }
            catalog.appendColumn(table.name, column);
            continue;
        }
        const db::ColumnType::Kind wanted =
            db::columnTypeFromDeclared(db::declaredTypeFor(column.typeCode, column.definedSize))
                .kind;
        const db::ColumnType::Kind declared = db::columnTypeFromDeclared(found->declaredType).kind;
        if (declared != wanted) {
            throw db::DbError("The column " + column.name + " of the table " + table.name + " of " +
                              kInterfaceDatabaseFileName + " is declared for " +
                              kindText(declared) + " (\"" + found->declaredType + "\"), not for " +
                              kindText(wanted) + cannot);
        }
    }
}

// Adds each table that is missing and the lookup indexes. A table counts as present only under
// its exact name, letter case included; one that is present is never altered, but for the
// journal's columns that a file made before them lacks. A table whose name differs from one of
// the program's only in letter case ends the set-up: the file would hold both under one name.
void completeTables(db::Catalog& catalog) {
    const std::vector<std::string> present = catalog.tableNames();
    for (const db::TableDefinition& table : stage::stageTableDefinitions()) {
        if (std::find(present.begin(), present.end(), table.name) != present.end()) {
            if (stage::isCheckedTable(table.name)) {
                completeColumns(catalog, table);
            }
            continue;
        }
        for (const std::string& name : present) {
            if (equalsIgnoringAsciiCase(name, table.name)) {
                throw db::DbError("The table \"" + name + "\" of " + kInterfaceDatabaseFileName +
                                  " is not the program's table " + table.name +
                                  ": its name differs in letter case. Rename it " + table.name +
                                  " if it is that table.");
            }
        }
        catalog.appendTable(table);
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
