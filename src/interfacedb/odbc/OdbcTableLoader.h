#pragma once

#include <sqlite3.h>

#include <string>

#include "interfacedb/odbc/OdbcAccessFile.h"

namespace vantrell::db::odbc {

// The declared type that makes the engine read a column's values as Access types them, the
// same as for a file read with libmdb. Text compares without regard to case.
std::string declaredType(const ColumnInfo& column);

// Creates in `db` the table `name` of `file` with its columns and copies every row of it, in
// one transaction. Throws DbError naming the file and the table when the table cannot be read
// whole; `db` is then left without the table.
void loadTable(const AccessFile& file, const std::string& name, sqlite3* db);

}  // namespace vantrell::db::odbc
