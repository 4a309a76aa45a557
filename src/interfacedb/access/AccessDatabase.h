#pragma once

#include <memory>
#include <string>

namespace vantrell::db {
namespace detail {
class Database;
}

namespace access {

// Opens the Access file (Jet 3, Jet 4 or ACE) at `path` as an in-memory database that reads
// each table from the file the first time a statement names it, so that statements run on it
// unchanged. The file is only read; statements that change data are refused. Throws DbError,
// naming the file, when it cannot be read.
std::shared_ptr<detail::Database> openAccessDatabase(const std::string& path);

}  // namespace access
}  // namespace vantrell::db
