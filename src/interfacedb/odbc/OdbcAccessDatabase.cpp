// Access files on Windows: read through ODBC into the same in-memory database as on Linux.
#include "interfacedb/DbError.h"
#include "interfacedb/Sqlite.h"
#include "interfacedb/access/AccessDatabase.h"

namespace vantrell::db::access {

std::shared_ptr<detail::Database> openAccessDatabase(const std::string& path) {
    throw DbError("'" + path + "' is an Access database, which this engine cannot read yet.");
}

}  // namespace vantrell::db::access
