#pragma once

// ODBC handles for the Windows reader of Access files; only that reader includes this.

#include <windows.h>

#include <sql.h>
#include <sqlext.h>

#include <string>

#include "diag/Utf16.h"  // ODBC's wide text from UTF-8 and back

namespace vantrell::db::odbc {

// One ODBC handle, freed with its kind.
class Handle {
  public:
    // A new handle of `kind` under `parent` (SQL_NULL_HANDLE for an environment). Throws
    // DbError when the driver manager cannot make it.
    Handle(SQLSMALLINT kind, SQLHANDLE parent);
    ~Handle();
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    // The handle for ODBC calls, and its kind.
    SQLHANDLE get() const { return handle_; }
    SQLSMALLINT kind() const { return kind_; }

    // The driver's diagnostics for the last call on this handle: "[state] message" records
    // joined by "; ", or "" when there are none.
    std::string diagnostics() const;
    // The SQLSTATE of the first diagnostic record, or "".
    std::string firstState() const;

  private:
    SQLSMALLINT kind_;
    SQLHANDLE handle_ = SQL_NULL_HANDLE;
};

}  // namespace vantrell::db::odbc
