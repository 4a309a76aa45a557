#pragma once

// One Access file opened through ODBC; only the Windows reader includes this.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "interfacedb/odbc/OdbcHandles.h"

namespace vantrell::db::odbc {

// The ODBC drivers that read Access files, in the order tried: the Access Database Engine's
// (.mdb and .accdb; 64-bit and recent 32-bit), the Jet driver that 32-bit Windows ships, and
// the mdbtools driver that Wine reaches through the host's unixODBC.
inline const std::vector<std::wstring> kAccessDrivers = {
    L"Microsoft Access Driver (*.mdb, *.accdb)", L"Microsoft Access Driver (*.mdb)", L"MDBTools"};

// The connection string that opens `path` with `driver`, read only. A value holding a
// character that would end it is braced.
std::wstring accessConnectionString(const std::wstring& driver, const std::wstring& path);

// A table, saved query or linked table of the file, as the driver lists it.
struct CatalogObject {
    std::string name;
    std::string type;  // "TABLE", "VIEW" (a saved query), "LINK", "SYSTEM TABLE", ...
};

// One column of a table as the driver describes it.
struct ColumnInfo {
    std::string name;
    SQLSMALLINT sqlType = SQL_UNKNOWN_TYPE;
    SQLULEN size = 0;
    SQLSMALLINT digits = 0;
    std::string typeName;  // the driver's own name of the type ("CURRENCY", ...)
};

class AccessFile {
  public:
    // Opens the Access file at `path` (UTF-8) for reading with the first of `drivers` that is
    // installed. Throws DbError naming the file: with the driver's own message when the driver
    // could not read it, or, when none of the drivers is installed, saying so and naming them.
    AccessFile(std::string path, const std::vector<std::wstring>& drivers = kAccessDrivers);

    // The path the file was opened with, and the driver that opened it.
    const std::string& path() const { return path_; }
    const std::wstring& driver() const { return driver_; }

    // True when every value must be read as UTF-8 text: the mdbtools driver (under Wine,
    // through the host's unixODBC) hands values over in their text form only, and its text is
    // UTF-8 that the driver manager cannot widen.
    bool valuesAsUtf8Text() const { return driver_ == L"MDBTools"; }

    // The file's tables, saved queries and linked tables.
    std::vector<CatalogObject> catalog() const;

    // Reads the table `name` whole: `describe` gets its columns, then `row` is called for each
    // row with a statement positioned on it (values are read with SQLGetData). Throws DbError
    // naming the table with the driver's message when it cannot be read.
    void readTable(const std::string& name,
                   const std::function<void(const std::vector<ColumnInfo>&)>& describe,
                   const std::function<void(SQLHSTMT)>& row) const;

  private:
    std::string path_;
    std::wstring driver_;
    std::unique_ptr<Handle> environment_;
    std::unique_ptr<Handle> connection_;
};

}  // namespace vantrell::db::odbc
