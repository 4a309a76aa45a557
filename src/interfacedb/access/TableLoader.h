#pragma once

#include <sqlite3.h>

#include "interfacedb/access/AccessFile.h"

namespace vantrell::db::access {

// Creates in `db` a table named and laid out as the Access table `entry`, its columns declared
// so that the engine gives their values the Access types, and copies every row of the table
// into it: one pass over the table's pages, one transaction. Throws DbError, naming the file
// and the table, when the table cannot be read whole; `db` is then left without the table.
void loadTable(const AccessFile& file, MdbCatalogEntry& entry, sqlite3* db);

}  // namespace vantrell::db::access
