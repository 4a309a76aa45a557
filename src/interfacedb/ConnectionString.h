#pragma once

#include <string>
#include <string_view>

namespace vantrell::db {

// "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + path + ";Persist Security Info=False",
// the path placed as it is, unquoted.
std::string connectionStringFor(std::string_view path);

// The same without ";Persist Security Info=False", as the catalog takes it.
std::string catalogConnectionStringFor(std::string_view path);

// The Data Source of a connection string. A path may itself hold ";": only a ";" followed by
// a known keyword ends it. Keywords are found in any letter case; a value in double quotes is
// taken without them. Throws DbError when there is no Data Source.
std::string dataSourceOf(std::string_view connectionString);

}  // namespace vantrell::db
