#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "interfacedb/Connection.h"
#include "interfacedb/Value.h"

namespace vantrell::testing {

// A file of the project's own copies of Access files (tests/data/access).
std::string ownAccessFile(const std::string& name);

// A file of the shared reference folder, or nothing when that folder is not there.
std::optional<std::string> sharedAccessFile(const std::string& name);

// Opens `connection` on `path` as the program does, with the Jet connection string.
void openAccess(db::Connection& connection, const std::string& path);

// Runs `sql` as the extraction does (static, read-only) and returns, for each row, the values
// of `fields`, each read by its name or alias.
std::vector<std::vector<db::Value>> selectRows(db::Connection& connection, const std::string& sql,
                                               const std::vector<std::string>& fields);

// The one value of a statement that returns one row with one field named "v".
db::Value selectValue(db::Connection& connection, const std::string& sql);

// Shorthand for a date value.
db::Value date(const std::string& text);

// Everything written to the process's standard error while `body` runs.
std::string stderrDuring(const std::function<void()>& body);

}  // namespace vantrell::testing
